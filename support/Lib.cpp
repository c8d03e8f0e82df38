#include "support/Lib.h"

#include "runtime/QuestionBox.h"

std::int32_t CaixaDlgMensagemEx(const std::string& Titulo, const std::string& Mensagem,
                                const std::vector<std::string>& Botoes, std::int32_t Padrao)
{
    if (Botoes.empty())
        return 0;
    return CaixaPergunta(Titulo, Mensagem, Botoes, Padrao);
}
