#pragma once

#include <QPointer>
#include <QWidget>

// A window of the program as the system services see it. Null (0) means no window; a handle
// whose window has been destroyed turns null by itself.
using WindowHandle = QPointer<QWidget>;
