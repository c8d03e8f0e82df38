#include "module/info.h"

#include <cstring>

bool bControleCB = false;
TTabCallBack TabCB{};

namespace {

// The host reads every text field up to its NUL; the rest of the field is zero.
template <std::size_t N>
void CopiaTexto(char (&Campo)[N], const char* Texto)
{
    std::memset(Campo, 0, N);
    std::strncpy(Campo, Texto, N - 1);
}

struct TTelaDescrita {
    const char* Legenda;
    const char* ClasseForm;
};

// CP1252 bytes, as the host lists them: "Transações Habilitadas".
constexpr TTelaDescrita Telas[] = {
    {"Estabelecimento", "TFormEstabelecimento_167171"},
    {"Tabela Bins", "TFormTabelaBins_167171"},
    {"Transa\xE7\xF5" "es Habilitadas", "TFormTransHab_167171"},
};

} // namespace

void ObtemInformacoes(TInfoModulo* Info)
{
    std::memset(Info, 0, sizeof(TInfoModulo));
    CopiaTexto(Info->Versao, "1.1.1.0");
    CopiaTexto(Info->Nome, "Mirabelo");
    CopiaTexto(Info->Descricao, "Configurador da rede Mirabelo.\n\n\n\n\n\n(Kovan)");
    CopiaTexto(Info->Titulo, "Configurador Mirabelo.");
    Info->CodRede1 = 167;
    Info->CodRede2 = 171;
    Info->ParamAux1 = 128;
    Info->ParamAux2 = 100;
    Info->QtdTelas = static_cast<std::uint16_t>(std::size(Telas));
    for (std::size_t I = 0; I < std::size(Telas); ++I) {
        TTelaModulo& Tela = Info->Telas[I];
        CopiaTexto(Tela.Legenda, Telas[I].Legenda);
        Tela.Opcao1 = 1;
        Tela.Opcao2 = 0;
        CopiaTexto(Tela.ClasseForm, Telas[I].ClasseForm);
    }
    Info->ParamAux3 = 2;
}

void CallBackInformacoes(const TTabCallBack* Tabela)
{
    bControleCB = true;
    std::memcpy(&TabCB, Tabela, sizeof(TTabCallBack));
}

void CallBack(std::int32_t Funcao, std::int32_t Codigo, char* Texto)
{
    if (!bControleCB || Funcao != 0)
        return;
    TRotinaCallBack Rotina;
    std::memcpy(&Rotina, reinterpret_cast<const char*>(&TabCB) + offsetof(TTabCallBack, CallBack0), sizeof Rotina);
    if (Rotina)
        Rotina(0, Codigo, Texto);
}

void DadosEmpresa(TDadosCfg* Dados)
{
    Dados->Resultado = -100;
}

std::string CompletaZero(const std::string& Texto)
{
    return Texto.size() < 15 ? std::string(15 - Texto.size(), '0') + Texto : Texto;
}

std::string PegaCampoDadosConfig(const char*, std::int64_t, int, int, int)
{
    return {};
}
