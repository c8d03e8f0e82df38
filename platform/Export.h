#pragma once
// Symbols the runtime library offers to hosts and modules.
//
// libkovanrt.so.<SOVERSION> (set in runtime/CMakeLists.txt) is the ABI that hosts and network modules
// share: a host and a module built against the same SOVERSION run together, whichever was built first.
// A compatible change (same SOVERSION, the minor number of VERSION goes up) only adds: a new function,
// a new class, a new non-virtual member function, a new flag or result value that old callers never
// receive unasked. Anything else raises SOVERSION and every host and module is rebuilt: removing or
// renaming an exported symbol; changing a parameter, a return type or a default argument; adding,
// removing or reordering data members or virtual functions of an exported class (modules derive from
// TForm and the controls, so their layouts are compiled into the modules); changing a packed record or
// an inline function of these headers (compiled into the callers); changing what an existing call does
// in a way a caller can see (a message box's flags or results, the text encoding, who owns what);
// moving to another major version of Qt.
#define KOVANRT_API __attribute__((visibility("default")))
// Entry points a module offers to its host, found by name with dlsym.
#define KOVAN_EXPORT extern "C" __attribute__((visibility("default")))
