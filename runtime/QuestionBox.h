#pragma once
// The question box: a modal box with up to three buttons of free text, answerable by any host like the
// message box (runtime/Dialogs.h). A GUI host leaves the default; a headless host or a test installs
// a handler.
#include "platform/Export.h"

#include <string>
#include <vector>

/// Answers a question box: title, text and the Quantidade button captions are NUL-terminated CP1252;
/// Padrao is the 1-based default button (maybe outside 1 to Quantidade). Returns the 1-based button.
typedef int (*KovanQuestionBoxHandler)(void* context, const char* title, const char* text,
                                       const char* const* buttons, int count, int defaultButton);

/// Installs the handler that answers every question box from now on; null restores the default: the
/// Qt dialog when a Qt GUI application exists, otherwise standard error and the default button (0 when
/// the default is not a button).
extern "C" KOVANRT_API void KovanSetQuestionBoxHandler(KovanQuestionBoxHandler handler, void* context);

/// Asks; answers the 1-based button pressed, 0 when there is no button. At most three buttons are
/// offered; further captions are ignored.
extern "C" KOVANRT_API int KovanQuestionBox(const char* title, const char* text, const char* const* buttons,
                                            int count, int defaultButton);

/// The same for C++ callers.
KOVANRT_API int CaixaPergunta(const std::string& Titulo, const std::string& Texto,
                              const std::vector<std::string>& Botoes, int Padrao);

/// Size and places of the Qt dialog: 400 x 150 outside, the message at 10,10, buttons 75 wide at top
/// 90, the last one's left edge 130 from the client's right edge and the others every 105 to its left.
inline constexpr int LarguraCaixaPergunta = 400;
inline constexpr int AlturaCaixaPergunta = 150;
/// Left edge of button Posicao (1-based) of Quantidade in a client area LarguraCliente wide.
constexpr int EsquerdaBotaoPergunta(int LarguraCliente, int Posicao, int Quantidade)
{
    return LarguraCliente - 130 - 105 * (Quantidade - Posicao);
}
