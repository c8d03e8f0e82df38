#pragma once
// Symbols the runtime library offers to hosts and modules.
#define KOVANRT_API __attribute__((visibility("default")))
// Entry points a module offers to its host, found by name with dlsym.
#define KOVAN_EXPORT extern "C" __attribute__((visibility("default")))
