#include "support/msgmodulos.h"

#include "config/Lib.h"
#include "platform/Cp1252.h"
#include "platform/Files.h"
#include "runtime/Application.h"
#include "runtime/IniFiles.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

TMsgModulo Tabela_Msg_Modulos[QtdMsgModulos];

namespace {

struct TMsgEmbutida {
    int Numero;
    const char* Chave;
    const char* Texto; // UTF-8 here; the table holds it as CP1252
};

#define KOVAN_MSG(Nome) Nome, #Nome

// The entries this module shows. The others keep the numbering shared with the other modules, under
// keys of their own and with an empty text.
constexpr std::array<TMsgEmbutida, 38> MsgEmbutidas{{
    {KOVAN_MSG(MsgAtencao), "ATENÇÃO"},
    {KOVAN_MSG(MsgErro), "ERRO"},
    {KOVAN_MSG(MsgSeguranca), "SEGURANÇA"},
    {KOVAN_MSG(MsgUserNaoAutorizado), "Usuário não autorizado para essa opção."},
    {KOVAN_MSG(MsgSqliteNaoEncontrada), "sqlite3.dll não foi encontrado."},
    {KOVAN_MSG(MsgDesejaSairSemSalvar), "Deseja sair sem salvar as alterações ?"},
    {KOVAN_MSG(MsgCodEmpNaoCadastrado), "Código de empresa não está cadastrado."},
    {KOVAN_MSG(MsgCodEmpNumDigitoErrado), "Código da Empresa não contém 8 dígitos."},
    {KOVAN_MSG(MsgSalvarSub), "&Salvar"},
    {KOVAN_MSG(MsgSalvar), "Salvar"},
    {KOVAN_MSG(MsgConfirmar), "Confirmar"},
    {KOVAN_MSG(MsgSenha), "Senha"},
    {KOVAN_MSG(MsgSim), "Sim"},
    {KOVAN_MSG(MsgNao), "Não"},
    {KOVAN_MSG(MsgBinOUIntBin), "Bin ou Intervalo de Bins"},
    {KOVAN_MSG(MsgDesejaExcDaLista), "Deseja excluir [%s] da lista ?"},
    {KOVAN_MSG(MsgSelecBinCorretamente), "Selecione o bin corretamente."},
    {KOVAN_MSG(MsgDesejaRetornMenuPrinc), "Deseja retornar ao menu principal ?"},
    {KOVAN_MSG(MsgDigiteBin), "Digite um Bin."},
    {KOVAN_MSG(MsgNomeEsp), "Nome "},
    {KOVAN_MSG(MsgBins), "Bins"},
    {KOVAN_MSG(MsgBIncluir), "/Incluir"},
    {KOVAN_MSG(MsgBAlterar), "/Alterar"},
    {KOVAN_MSG(MsgEmpTODAS), "Todas"},
    {KOVAN_MSG(MsgLOGUsuario), "Usuário.....:"},
    {KOVAN_MSG(MsgLOGFonte), "Fonte.......:"},
    {KOVAN_MSG(MsgLOGExecutavel), "Executável..:"},
    {KOVAN_MSG(MsgSelecEmpConfigurar), "Selecione a empresa para configurar."},
    {KOVAN_MSG(MsgFormCredito), "Crédito"},
    {KOVAN_MSG(MsgFormDebito), "Débito"},
    {KOVAN_MSG(MsgFormConvenio), "Convênio"},
    {KOVAN_MSG(MsgFormCombustivel), "Combustível"},
    {KOVAN_MSG(MsgHintCodigoEmpresa), "Digite ou Selecione a empresa."},
    {KOVAN_MSG(MsgHintBitBtnIncluirBins), "Incluir Bin ou intervalo de Bins na tabela."},
    {KOVAN_MSG(MsgHintBitBtnEditarBins), "Editar Bin ou intervalo de Bins selecionado na tabela."},
    {KOVAN_MSG(MsgHintBitBtnExcluirBins), "Excluir o Bin ou intervalo de Bins selecionado na tabela."},
    {KOVAN_MSG(MsgCodGrpNumDigitoErrado), "Código do Grupo não contém 6 dígitos."},
    {KOVAN_MSG(MsgCodGrupoNaoCadastrado), "Código de grupo não está cadastrado."},
}};
#undef KOVAN_MSG

// The table's four title entries stand at its head.
constexpr int QtdTitulos = 4;

void Grava(TShortString& Destino, std::string_view Texto) noexcept
{
    const std::size_t Tamanho = std::min<std::size_t>(Texto.size(), sizeof Destino.Texto);
    std::memset(&Destino, 0, sizeof Destino);
    Destino.Tamanho = static_cast<unsigned char>(Tamanho);
    if (Tamanho > 0)
        std::memcpy(Destino.Texto, Texto.data(), Tamanho);
}

std::string_view Le(const TShortString& Origem) noexcept
{
    return {Origem.Texto, Origem.Tamanho};
}

void PreencheTabela()
{
    for (int Numero = 1; Numero <= QtdMsgModulos; ++Numero) {
        char Chave[16];
        std::snprintf(Chave, sizeof Chave, Numero <= QtdTitulos ? "Titulo%03d" : "Msg%03d", Numero);
        Grava(Tabela_Msg_Modulos[Numero - 1].Chave, Chave);
        Grava(Tabela_Msg_Modulos[Numero - 1].Texto, {});
    }
    for (const TMsgEmbutida& Msg : MsgEmbutidas) {
        Grava(Tabela_Msg_Modulos[Msg.Numero - 1].Chave, Msg.Chave);
        Grava(Tabela_Msg_Modulos[Msg.Numero - 1].Texto, Utf8ParaCp1252(Msg.Texto));
    }
}

// The built-in texts are converted once, when the module is loaded; the readers below also make sure
// of it, so a static initialiser elsewhere that reads a message finds the table filled.
void GaranteTabela()
{
    static const bool Pronta = (PreencheTabela(), true);
    (void)Pronta;
}

[[maybe_unused]] const bool TabelaCarregada = (GaranteTabela(), true);

bool CaminhoAbsoluto(std::string_view Caminho)
{
    return !Caminho.empty() && (Caminho[0] == '\\' || Caminho[0] == '/' || Caminho.find(':') == 1);
}

} // namespace

std::string LeCaminhoDicionario() noexcept
{
    try {
        const std::string PastaConfig = LerRaizPathKovan(Application().ExeName()) + "\\config\\";
        const TIniFile TabTraducao(PastaConfig + "TabTraducao.ini");
        std::string Caminho = Corta255(TabTraducao.ReadString("CfKovan", "NomeArqTraducao", ""));
        if (!Caminho.empty() && !CaminhoAbsoluto(Caminho))
            Caminho = Corta255(PastaConfig + Caminho);
        return Caminho;
    } catch (...) {
        return {};
    }
}

void CarregaMsg()
{
    try {
        GaranteTabela();
        const std::string Dicionario = LeCaminhoDicionario();
        if (Dicionario.empty() || !FileExists(Dicionario))
            return;
        const TIniFile Ini(Dicionario);
        for (TMsgModulo& Msg : Tabela_Msg_Modulos) {
            const std::string Valor = Ini.ReadString("TabTraducao", std::string(Le(Msg.Chave)), "");
            if (!Valor.empty())
                Grava(Msg.Texto, Valor);
        }
    } catch (...) {
        // Nothing here is reported: the table keeps what it had.
    }
}

std::int32_t LeMensagens(std::int32_t Numero, char* Texto, std::int32_t Tamanho)
{
    GaranteTabela();
    const bool Valido = Numero >= 1 && Numero <= QtdMsgModulos;
    const std::string_view Msg = Valido ? Le(Tabela_Msg_Modulos[Numero - 1].Texto) : std::string_view();
    if (Texto && Tamanho > 0) {
        const std::size_t Copia = std::min<std::size_t>(Msg.size(), static_cast<std::size_t>(Tamanho) - 1);
        if (Copia > 0)
            std::memcpy(Texto, Msg.data(), Copia);
        Texto[Copia] = '\0';
    }
    return Valido ? static_cast<std::int32_t>(Msg.size()) : -1;
}

std::string LeMensagens(int Numero)
{
    GaranteTabela();
    if (Numero < 1 || Numero > QtdMsgModulos)
        return {};
    return std::string(Le(Tabela_Msg_Modulos[Numero - 1].Texto));
}

std::string ChaveMensagem(int Numero)
{
    GaranteTabela();
    if (Numero < 1 || Numero > QtdMsgModulos)
        return {};
    return std::string(Le(Tabela_Msg_Modulos[Numero - 1].Chave));
}
