#include "support/Lib.h"

#include "config/Lib.h"
#include "db/MkSqLite3Api.h"
#include "runtime/Dialogs.h"
#include "runtime/QuestionBox.h"
#include "support/msgmodulos.h"

std::int32_t CaixaDlgMensagemEx(const std::string& Titulo, const std::string& Mensagem,
                                const std::vector<std::string>& Botoes, std::int32_t Padrao)
{
    if (Botoes.empty())
        return 0;
    return CaixaPergunta(Titulo, Mensagem, Botoes, Padrao);
}

bool VerPrivilegioEx(TApplication&, std::uint16_t Acao, std::uint16_t Nivel)
{
    if (VerPrivilegio(Acao, Nivel))
        return true;
    MessageBox(LeMensagens(MsgUserNaoAutorizado), LeMensagens(MsgSeguranca), MB_OK | MB_ICONERROR);
    return false;
}

std::string TextoDoErro(const std::exception& Erro)
{
    if (const auto* Sqlite = dynamic_cast<const ESqlite*>(&Erro);
        Sqlite && Sqlite->Tipo() == TTipoErroSqlite::BibliotecaAusente)
        return LeMensagens(MsgSqliteNaoEncontrada);
    return Erro.what();
}
