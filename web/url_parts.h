#pragma once
// Taking a request address apart for the HTTP engine. Never fails: every input yields some
// host, port and path. An address without a scheme is read as "http://" + address.

#include <string>
#include <string_view>

// The host, lower-cased. `reduceToDomain` keeps the last two dot-separated pieces;
// `keepPort` keeps a ":port" after the host.
std::string UrlHost(std::string_view url, bool reduceToDomain = false, bool keepPort = false);

// The port after the host's last ":", else 443 for "https" addresses and 80 for the rest.
int UrlPort(std::string_view url);

// Path and query from the first "/" after the host, in the address's own letter case; "/"
// when there is none.
std::string UrlPath(std::string_view url);
