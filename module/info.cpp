#include "module/info.h"

#include "config/Kovan_INI.h"
#include "config/Lib.h"
#include "platform/Ascii.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

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

namespace {

constexpr std::size_t MaximoEntrada = 2048;
constexpr std::size_t MaximoCampo = 1024;

// Resultado holds at most 32767: a count past it must not wrap into the negative result codes.
std::int16_t Contagem(std::int64_t Quantidade)
{
    return static_cast<std::int16_t>(std::min<std::int64_t>(Quantidade, ResultadoMaximo));
}

// The companies an operation works on: the one the host named, every company, or on a single-company
// server the only one. An 8-character code that is not 8 letters or digits names no company.
std::vector<std::string> EmpresasDaOperacao(const std::string& Raiz, const TDadosCfg& Dados)
{
    if (!KovanMultiEmpresa(Raiz))
        return {"00000000"};
    const std::string Pedida = Apara(std::string(Dados.CodEmpresa, strnlen(Dados.CodEmpresa, sizeof Dados.CodEmpresa)));
    if (Pedida.size() == 8)
        return CodigoEmpresaValido(Pedida) ? std::vector<std::string>{Pedida} : std::vector<std::string>{};
    std::vector<std::string> Todas;
    LerEmpresas(Raiz, Todas);
    return Todas;
}

std::string LeCodigoEstabelecimento(const std::string& Raiz, const std::string& Empresa)
{
    TKovanIni Ini(Raiz, "Mirabelo", Empresa);
    return Ini.LeVar("Geral", "CodigoEstabelecimento", "");
}

void Exporta(TDadosCfg& Dados, const std::string& Raiz, const std::vector<std::string>& Empresas)
{
    Dados.Resultado = 0;
    std::int64_t Pos = 0;
    const std::int64_t Tamanho = Dados.TamBuffer;
    for (const std::string& Empresa : Empresas) {
        const std::string Codigo = LeCodigoEstabelecimento(Raiz, Empresa);
        if (Dados.Operacao == OperacaoExporta && Codigo.empty() && Empresas.size() > 1)
            continue;
        const std::string Entrada = Apara(Empresa) + ";" + Codigo;
        if (!Dados.Buffer || static_cast<std::int64_t>(Entrada.size()) + Pos + 2 >= Tamanho) {
            Dados.Resultado = ResultadoBufferPequeno;
            return;
        }
        std::memcpy(Dados.Buffer + Pos, Entrada.c_str(), Entrada.size() + 1);
        Pos += static_cast<std::int64_t>(Entrada.size()) + 1;
        Dados.Buffer[Pos] = 0;
        Dados.Resultado = Contagem(Dados.Resultado + 1);
    }
}

void Apaga(TDadosCfg& Dados, const std::string& Raiz, const std::vector<std::string>& Empresas)
{
    Dados.Resultado = 0;
    for (const std::string& Empresa : Empresas) {
        TKovanIni Ini(Raiz, "Mirabelo", Empresa);
        Ini.RemoveSec("Geral");
        Dados.Resultado = Contagem(Dados.Resultado + 1);
    }
}

bool Pergunta(const std::string& Texto, unsigned int Icone)
{
    return MessageBox(Texto, TituloAtencao, MB_YESNO | Icone) == IDYES;
}

void Avisa(const std::string& Texto, unsigned int Icone)
{
    MessageBox(Texto, TituloAtencao, MB_OK | Icone);
}

void Importa(TDadosCfg& Dados, const std::string& Raiz, const std::vector<std::string>& Empresas)
{
    const std::vector<std::string> Entradas = LeEntradasDadosConfig(Dados.Buffer, Dados.TamBuffer);
    Dados.Resultado = Contagem(static_cast<std::int64_t>(Entradas.size()));
    if (Entradas.empty())
        return;

    // The codes the companies hold before the import; they are not updated while it runs. Both
    // checks look codes up by key, so the import stays linear in entries and companies.
    std::unordered_map<std::string, std::string> CodigoAnotado;    // company -> its code
    std::unordered_map<std::string, std::string> PrimeiraComCodigo;  // code -> first company in list order
    for (const std::string& Empresa : Empresas) {
        std::string Codigo = LeCodigoEstabelecimento(Raiz, Empresa);
        if (!Codigo.empty())
            Codigo = CompletaZero(Codigo);
        CodigoAnotado.emplace(MaiusculasAscii(Empresa), Codigo);
        PrimeiraComCodigo.emplace(MaiusculasAscii(Codigo), Empresa);
    }
    const bool Duplicados = PermiteDuplicidadeEstabelecimento(Raiz);
    std::unordered_map<std::string, std::size_t> PrimeiraEntradaComCodigo;  // code -> first entry

    for (std::size_t J = 0; J < Entradas.size(); ++J) {
        const std::string E = CampoDaEntrada(Entradas[J], 1);
        std::string C = CampoDaEntrada(Entradas[J], 2);
        if (!C.empty())
            C = CompletaZero(C);
        const std::string ChaveC = MaiusculasAscii(C);
        const auto [Anterior, Primeira] = PrimeiraEntradaComCodigo.emplace(ChaveC, J);

        bool Desconsidera = false;
        if (!Duplicados && !C.empty()) {
            // Already in this import, while company E holds another code.
            if (!Primeira && !IguaisSemCaixa(C, LeCodigoEstabelecimento(Raiz, E))) {
                const std::string O = CampoDaEntrada(Entradas[Anterior->second], 1);
                if (!Pergunta("C\xF3" "digo do Estabelecimento da empresa [" + E + "] \xE9 igual ao da empresa [" + O +
                                  "], portanto ser\xE1 desconsiderado. Deseja continuar?",
                              MB_ICONWARNING)) {
                    Avisa("A importa\xE7\xE3o n\xE3o foi efetuada completamente.", MB_ICONWARNING);
                    return;
                }
                Desconsidera = true;
            }
            // Already held by another company.
            const auto Listada = CodigoAnotado.find(MaiusculasAscii(E));
            if (!Desconsidera && Listada != CodigoAnotado.end() && !IguaisSemCaixa(Listada->second, C)) {
                const auto Outra = PrimeiraComCodigo.find(ChaveC);
                if (Outra != PrimeiraComCodigo.end()) {
                    if (!Pergunta("C\xF3" "digo do Estabelecimento da empresa [" + E + "] j\xE1 est\xE1 sendo usado pela empresa [" +
                                      Outra->second + "], portanto ser\xE1 desconsiderado. Deseja continuar?",
                                  MB_ICONERROR)) {
                        Avisa("A importa\xE7\xE3o n\xE3o foi efetuada completamente.", MB_ICONWARNING);
                        return;
                    }
                    Desconsidera = true;
                }
            }
        }
        if (Desconsidera || !CodigoEmpresaValido(E))
            continue;

        const std::string Digitado = CampoDaEntrada(Entradas[J], 2);
        if (Digitado.size() > 15) {
            Avisa("O C\xF3" "digo do Estabelecimento da empresa [" + E + "] possui mais de 15 d\xEDgitos, portanto ser\xE1 desconsiderado.",
                  MB_ICONWARNING);
        } else if (!Digitado.empty()) {
            // One company's writes reach its file in one replace, or not at all.
            TKovanIni Ini(Raiz, "Mirabelo", E);
            Ini.IniciaLote();
            Ini.GravaVar("Geral", "CodigoEstabelecimento", CompletaZero(Digitado));
            Ini.ConfirmaLote();
        }
        Dados.Resultado = Contagem(Dados.Resultado + 1);
    }
    Avisa("A importa\xE7\xE3o foi finalizada.", MB_ICONINFORMATION);
}

} // namespace

void DadosEmpresa(TDadosCfg* Dados)
{
    if (!Dados)
        return;
    try {
        Dados->Resultado = ResultadoOperacaoDesconhecida;
        const std::uint16_t Operacao = Dados->Operacao;
        if (Operacao > OperacaoExportaTodas)
            return;
        const std::string Raiz = LerRaizPathKovan(Application().ExeName());
        const std::vector<std::string> Empresas = EmpresasDaOperacao(Raiz, *Dados);
        switch (Operacao) {
        case OperacaoExporta:
        case OperacaoExportaTodas: Exporta(*Dados, Raiz, Empresas); break;
        case OperacaoImporta: Importa(*Dados, Raiz, Empresas); break;
        case OperacaoApaga: Apaga(*Dados, Raiz, Empresas); break;
        }
    } catch (...) {
        // Nothing crosses the boundary; Resultado keeps the value it had when the failure came.
    }
}

std::string CompletaZero(const std::string& Texto)
{
    return Texto.size() < 15 ? std::string(15 - Texto.size(), '0') + Texto : Texto;
}

std::vector<std::string> LeEntradasDadosConfig(const char* Buffer, std::int64_t Tamanho)
{
    std::vector<std::string> Entradas;
    if (!Buffer)
        return Entradas;
    std::int64_t Pos = 0;
    while (Pos < Tamanho) {
        const char* Inicio = Buffer + Pos;
        const auto Resta = static_cast<std::size_t>(Tamanho - Pos);
        const auto* Nul = static_cast<const char*>(std::memchr(Inicio, 0, Resta));
        const std::size_t Comprimento = Nul ? static_cast<std::size_t>(Nul - Inicio) : Resta;
        if (Comprimento == 0)
            break;
        Entradas.emplace_back(Inicio, std::min(Comprimento, MaximoEntrada));
        Pos += static_cast<std::int64_t>(Comprimento) + 1;
    }
    return Entradas;
}

std::string CampoDaEntrada(const std::string& Entrada, int Campo)
{
    std::size_t Inicio = 0;
    for (int I = 1; I < Campo; ++I) {
        Inicio = Entrada.find(';', Inicio);
        if (Inicio == std::string::npos)
            return {};
        ++Inicio;
    }
    const std::size_t Fim = std::min(Entrada.find(';', Inicio), Entrada.size());
    return Apara(std::string_view(Entrada).substr(Inicio, std::min(Fim - Inicio, MaximoCampo)));
}

std::string PegaCampoDadosConfig(const char* Buffer, std::int64_t Tamanho, int Quantidade, int Entrada, int Campo)
{
    if (Entrada < 1 || Entrada > Quantidade || Campo < 1)
        return {};
    const std::vector<std::string> Entradas = LeEntradasDadosConfig(Buffer, Tamanho);
    return static_cast<std::size_t>(Entrada) <= Entradas.size() ? CampoDaEntrada(Entradas[Entrada - 1], Campo) : std::string();
}
