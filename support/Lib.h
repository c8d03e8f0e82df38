#pragma once
// Lib (support part): the question box the screens ask their delete questions with.
#include <cstdint>
#include <string>
#include <vector>

/// Asks Mensagem under Titulo with up to three buttons (further captions are ignored), Padrao (1-based)
/// first in the tab order and holding the focus. Answers the 1-based button pressed, 0 for an empty
/// list (nothing shown). Routed through the runtime's question box, so a host can answer it.
std::int32_t CaixaDlgMensagemEx(const std::string& Titulo, const std::string& Mensagem,
                                const std::vector<std::string>& Botoes, std::int32_t Padrao);
