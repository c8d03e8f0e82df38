#pragma once
// The standard message box, answerable by any host: a GUI host shows it, a headless host or a test
// installs a handler that answers it. Flags and results are the Win32 values.
#include "platform/Export.h"

#include <string>

inline constexpr unsigned int MB_OK = 0x0;
inline constexpr unsigned int MB_YESNO = 0x4;
inline constexpr unsigned int MB_ICONERROR = 0x10;
inline constexpr unsigned int MB_ICONQUESTION = 0x20;
inline constexpr unsigned int MB_ICONWARNING = 0x30;
inline constexpr unsigned int MB_ICONINFORMATION = 0x40;
inline constexpr unsigned int MB_DEFBUTTON2 = 0x100;
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

/// Answers a message box: text and caption are NUL-terminated CP1252; returns IDOK, IDYES or IDNO.
typedef int (*KovanMessageBoxHandler)(void* context, const char* text, const char* caption, unsigned int flags);

/// Installs the handler that answers every message box from now on; null restores the default
/// (a QMessageBox when a Qt GUI application exists, otherwise standard error and the default button).
extern "C" KOVANRT_API void KovanSetMessageBoxHandler(KovanMessageBoxHandler handler, void* context);

/// Shows a message box and answers the button chosen.
extern "C" KOVANRT_API int KovanMessageBox(const char* text, const char* caption, unsigned int flags);

/// The same for C++ callers.
KOVANRT_API int MessageBox(const std::string& Texto, const std::string& Titulo, unsigned int Flags);

/// The message box now open and active whose title is Titulo gets Sim and Nao on its Yes and No
/// buttons; false when there is no such box. A screen posts itself a message just before opening a
/// Yes/No box and calls this when the message arrives, inside the box's own event loop.
KOVANRT_API bool RenomeiaBotoesSimNao(const std::string& Titulo, const std::string& Sim, const std::string& Nao);
