#pragma once
// Lib (support part): what the unit Lib tells the user. The question box the screens ask their delete
// questions with, the privilege check that says no with a message, and the wording of an error of
// the group database. It reads the message table and config/Lib.h; config/ never reads it.
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class TApplication;

/// Asks Mensagem under Titulo with up to three buttons (further captions are ignored), Padrao (1-based)
/// first in the tab order and holding the focus. Answers the 1-based button pressed, 0 for an empty
/// list (nothing shown). Routed through the runtime's question box, so a host can answer it.
std::int32_t CaixaDlgMensagemEx(const std::string& Titulo, const std::string& Mensagem,
                                const std::vector<std::string>& Botoes, std::int32_t Padrao);

/// VerPrivilegio (config/Lib.h); when it refuses, a message box with MsgUserNaoAutorizado under
/// MsgSeguranca, error icon and OK button, before answering false.
bool VerPrivilegioEx(TApplication& Aplicacao, std::uint16_t Acao, std::uint16_t Nivel);

/// The text a user is shown for Erro: a SQLite library that cannot be loaded reads as
/// MsgSqliteNaoEncontrada (translated like any message); every other error as its own text.
std::string TextoDoErro(const std::exception& Erro);
