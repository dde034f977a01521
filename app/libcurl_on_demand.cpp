// novelfetch does not link libcurl. The library and what it pulls in (OpenSSL, GnuTLS,
// Kerberos, LDAP, SSH, ...) take about as long to load and relocate as Qt itself, and a
// window needs none of it to show. These definitions of the libcurl calls the program makes
// load the library on the first of them and forward to it; main() makes that first call on
// a thread of its own while the window is being built.
//
// Only the `novelfetch` executable is built with this file, linked with --as-needed so that
// libcurl.so drops out of its needed libraries; a libcurl call the program starts to make
// must be added here, or the library is linked again (bench/compare's start-up figure
// says so when libcurl is loaded before the window shows).
#define CURL_DISABLE_TYPECHECK  // the checking macros would rename the definitions below

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <curl/curl.h>
#include <dlfcn.h>

namespace {

constexpr const char* kLibrary = "libcurl.so.4";

struct Calls {
  decltype(&curl_global_init) globalInit;
  decltype(&curl_easy_init) easyInit;
  decltype(&curl_easy_cleanup) easyCleanup;
  CURLcode (*easySetopt)(CURL*, CURLoption, ...);
  CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...);
  decltype(&curl_easy_strerror) easyStrerror;
  decltype(&curl_slist_append) slistAppend;
  decltype(&curl_slist_free_all) slistFreeAll;
  decltype(&curl_multi_init) multiInit;
  decltype(&curl_multi_cleanup) multiCleanup;
  decltype(&curl_multi_add_handle) multiAddHandle;
  decltype(&curl_multi_remove_handle) multiRemoveHandle;
  decltype(&curl_multi_perform) multiPerform;
  decltype(&curl_multi_poll) multiPoll;
  decltype(&curl_multi_info_read) multiInfoRead;
  decltype(&curl_multi_strerror) multiStrerror;
};

// Without libcurl the program can do nothing it is for: it says so and ends, as the dynamic
// loader did when the library was linked.
[[noreturn]] void Fail() {
  const char* reason = dlerror();
  std::fprintf(stderr, "novelfetch: %s\n", reason ? reason : kLibrary);
  std::_Exit(127);
}

template <typename Function>
void Bind(void* library, const char* name, Function& to) {
  to = reinterpret_cast<Function>(dlsym(library, name));
  if (!to) Fail();
}

Calls Load() {
  // Kept for the life of the process; local, so the library's own calls stay its own.
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!library) Fail();
  Calls calls{};
  Bind(library, "curl_global_init", calls.globalInit);
  Bind(library, "curl_easy_init", calls.easyInit);
  Bind(library, "curl_easy_cleanup", calls.easyCleanup);
  Bind(library, "curl_easy_setopt", calls.easySetopt);
  Bind(library, "curl_easy_getinfo", calls.easyGetinfo);
  Bind(library, "curl_easy_strerror", calls.easyStrerror);
  Bind(library, "curl_slist_append", calls.slistAppend);
  Bind(library, "curl_slist_free_all", calls.slistFreeAll);
  Bind(library, "curl_multi_init", calls.multiInit);
  Bind(library, "curl_multi_cleanup", calls.multiCleanup);
  Bind(library, "curl_multi_add_handle", calls.multiAddHandle);
  Bind(library, "curl_multi_remove_handle", calls.multiRemoveHandle);
  Bind(library, "curl_multi_perform", calls.multiPerform);
  Bind(library, "curl_multi_poll", calls.multiPoll);
  Bind(library, "curl_multi_info_read", calls.multiInfoRead);
  Bind(library, "curl_multi_strerror", calls.multiStrerror);
  return calls;
}

// Loaded once; a second thread asking meanwhile waits for the first.
const Calls& Curl() {
  static const Calls calls = Load();
  return calls;
}

}  // namespace

CURLcode curl_global_init(long flags) { return Curl().globalInit(flags); }

CURL* curl_easy_init() { return Curl().easyInit(); }

void curl_easy_cleanup(CURL* curl) { Curl().easyCleanup(curl); }

// The option's number says the type of its one argument, as libcurl itself reads it.
CURLcode curl_easy_setopt(CURL* curl, CURLoption option, ...) {
  va_list arguments;
  va_start(arguments, option);
  CURLcode code;
  if (option < CURLOPTTYPE_OBJECTPOINT) {
    code = Curl().easySetopt(curl, option, va_arg(arguments, long));
  } else if (option >= CURLOPTTYPE_OFF_T && option < CURLOPTTYPE_BLOB) {
    code = Curl().easySetopt(curl, option, va_arg(arguments, curl_off_t));
  } else {  // data, string, list, callback and blob pointers
    code = Curl().easySetopt(curl, option, va_arg(arguments, void*));
  }
  va_end(arguments);
  return code;
}

// Every kind of information is written through one pointer.
CURLcode curl_easy_getinfo(CURL* curl, CURLINFO info, ...) {
  va_list arguments;
  va_start(arguments, info);
  const CURLcode code = Curl().easyGetinfo(curl, info, va_arg(arguments, void*));
  va_end(arguments);
  return code;
}

const char* curl_easy_strerror(CURLcode code) { return Curl().easyStrerror(code); }

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
  return Curl().slistAppend(list, text);
}

void curl_slist_free_all(curl_slist* list) { Curl().slistFreeAll(list); }

CURLM* curl_multi_init() { return Curl().multiInit(); }

CURLMcode curl_multi_cleanup(CURLM* multi) { return Curl().multiCleanup(multi); }

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* curl) {
  return Curl().multiAddHandle(multi, curl);
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* curl) {
  return Curl().multiRemoveHandle(multi, curl);
}

CURLMcode curl_multi_perform(CURLM* multi, int* running) {
  return Curl().multiPerform(multi, running);
}

CURLMcode curl_multi_poll(CURLM* multi, curl_waitfd extraFds[], unsigned int extraCount,
                          int timeoutMs, int* ready) {
  return Curl().multiPoll(multi, extraFds, extraCount, timeoutMs, ready);
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* queued) {
  return Curl().multiInfoRead(multi, queued);
}

const char* curl_multi_strerror(CURLMcode code) { return Curl().multiStrerror(code); }
