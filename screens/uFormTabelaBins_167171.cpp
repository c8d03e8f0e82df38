#include "screens/uFormTabelaBins_167171.h"

#include "config/Kovan_INI.h"
#include "config/Lib.h"
#include "module/info.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/ComCtrls.h"
#include "runtime/Dialogs.h"
#include "runtime/Grids.h"
#include "runtime/StdCtrls.h"
#include "support/EventLog.h"
#include "support/Lib.h"
#include "support/msgmodulos.h"

#include <QTabBar>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

namespace Msg {
constexpr int EmpTODAS = 250;
constexpr int FormDebito = 396;
constexpr int FormCombustivel = 398;
} // namespace Msg

constexpr const char* SecaoTotais = "TabBins";
// A BIN list is a short string in the file.
constexpr std::size_t MaximoLista = 255;

const std::string MsgDigiteNome = "Digite um Nome para o(s) Bin(s).";
const std::string MsgNomeExistente = Utf8ParaCp1252("Nome já existente.");
const std::string TextoDigiteBin = "Digite um Bin!";
const std::string MsgTamanhoInvalido = Utf8ParaCp1252("Tamanho inválido do bin. No mínimo 6 e no máximo 9 dígitos");
const std::string MsgSuperiorMenor = Utf8ParaCp1252("Tamanho inválido: Bin superior menor que Bin inferior");
const std::string MsgBinExistente = Utf8ParaCp1252("Bin(s) já existente(s)");
const std::string MsgListaCheia =
    Utf8ParaCp1252("A lista de Bins ficaria com mais de 255 caracteres. Cadastre os demais Bins em outra linha.");
const std::string MsgExcluirDaTabela = "Deseja excluir [%s] da Tabela ?";
const std::string MsgDesejaCancelar = Utf8ParaCp1252("Deseja cancelar as alterações ?");
const std::string MsgExcluirTabela = "Deseja excluir a Tabela de Bins ?";
const std::string LogTela = "Mirabelo/Range/Geral - ";
const std::string LogExclusao = Utf8ParaCp1252(" - Opção Exclusão");

struct TTabela {
    const char* Prefixo; // of the row sections
    const char* Total;   // key of the row count under TabBins
    std::string NomeLog;
    std::string NomeTela;
};

const TTabela& Tabela(int Indice)
{
    static const TTabela Tabelas[2] = {{"Debito_", "TotDeb", "Debito", Utf8ParaCp1252("Débito")},
                                       {"Combustivel_", "TotComb", Utf8ParaCp1252("Combustível"),
                                        Utf8ParaCp1252("Combustível")}};
    return Tabelas[Indice];
}

// The number of a row section: two digits at least. Answers the end of the digits in Digitos.
char* DigitosDaLinha(long long Numero, char (&Digitos)[24])
{
    char* Fim = Digitos;
    if (Numero >= 0 && Numero < 10)
        *Fim++ = '0';
    return std::to_chars(Fim, Digitos + sizeof Digitos, Numero).ptr;
}

// Section of row Numero.
std::string SecaoLinha(const TTabela& T, long long Numero)
{
    char Digitos[24];
    return std::string(T.Prefixo).append(Digitos, DigitosDaLinha(Numero, Digitos));
}

// A stored row count, or nothing when the text is not a decimal number.
std::optional<long long> Quantidade(const std::string& Texto)
{
    std::string Numero = Apara(Texto);
    if (!Numero.empty() && Numero[0] == '+')
        Numero.erase(0, 1);
    long long Valor = 0;
    const auto [Fim, Erro] = std::from_chars(Numero.data(), Numero.data() + Numero.size(), Valor);
    if (Numero.empty() || Erro != std::errc() || Fim != Numero.data() + Numero.size())
        return std::nullopt;
    return Valor;
}

// The row number of a table's row section, or nothing when the section is not one of its rows: the
// prefix (in any case) and the number exactly as SecaoLinha writes it.
std::optional<long long> LinhaDaSecao(const TTabela& T, std::string_view Secao)
{
    const std::string_view Prefixo = T.Prefixo;
    if (Secao.size() <= Prefixo.size() || !IguaisSemCaixa(Secao.substr(0, Prefixo.size()), Prefixo))
        return std::nullopt;
    const std::string_view Numero = Secao.substr(Prefixo.size());
    long long K = 0;
    const auto [Fim, Erro] = std::from_chars(Numero.data(), Numero.data() + Numero.size(), K);
    if (Erro != std::errc() || Fim != Numero.data() + Numero.size())
        return std::nullopt;
    char Digitos[24];
    if (Numero != std::string_view(Digitos, DigitosDaLinha(K, Digitos)))
        return std::nullopt;
    return K;
}

// Removes the row sections Primeira..Ultima of a table (from Primeira on, when the stored count was not
// a number). A short range is erased by name, as the rows were written; otherwise only sections that
// exist are visited, so a count far above the real rows costs nothing.
void RemoveLinhas(TKovanIni& Ini, const TTabela& T, long long Primeira, std::optional<long long> Ultima)
{
    constexpr long long FaixaCurta = 4096;
    if (Ultima && *Ultima < Primeira + FaixaCurta) {
        for (long long K = std::max(Primeira, 0LL); K <= *Ultima; ++K)
            Ini.RemoveSec(SecaoLinha(T, K));
        return;
    }
    std::vector<std::string> Secoes;
    Ini.LeSecs(Secoes);
    for (const std::string& Secao : Secoes) {
        const std::optional<long long> K = LinhaDaSecao(T, Secao);
        if (K && *K >= Primeira && (!Ultima || *K <= *Ultima))
            Ini.RemoveSec(Secao);
    }
}

// The highest row number among a table's row sections, 0 when there is none.
long long UltimaLinhaGuardada(const std::vector<std::string>& Secoes, const TTabela& T)
{
    long long Ultima = 0;
    for (const std::string& Secao : Secoes)
        Ultima = std::max(Ultima, LinhaDaSecao(T, Secao).value_or(0));
    return Ultima;
}

// The BIN list of the composed row: every entry followed by ";".
std::string ListaDe(const TStringGrid* Grade, int Excluida = 0)
{
    std::string Lista;
    for (int L = 1; L < Grade->RowCount() - 1; ++L)
        if (L != Excluida)
            Lista.append(Grade->TextoCelula(0, L)) += ';';
    return Lista;
}

// A BIN's value; a pasted text that is not a number counts as 0.
long long Numero(const std::string& Bin)
{
    long long Valor = 0;
    std::from_chars(Bin.data(), Bin.data() + Bin.size(), Valor);
    return Valor;
}

bool TamanhoBinValido(const std::string& Bin)
{
    return Bin.size() >= 6 && Bin.size() <= 9;
}

} // namespace

TFormTabelaBins_167171::TFormTabelaBins_167171(QWidget* Owner) : TFormPadraoCfgBins_B(Owner)
{
    // Débito first and active, then Combustível; the other two pages stay without a tab.
    PageControl->tabBar()->moveTab(TabSheetDeb->PageIndex(), 0);
    PageControl->tabBar()->moveTab(TabSheetComb->PageIndex(), 1);
    PageControl->SetActivePage(TabSheetDeb);
    TabSet->SetTabs({Tabela(0).NomeTela, Tabela(1).NomeTela});
    TabSet->SetTabIndex(-1);
    Lbl_Titulo->move(615, Lbl_Titulo->y());
    ComboBoxEmpresa->move(ComboBoxEmpresa->x(), 29);
    GridBins->SetTabOrder(11);
    BitBtnRetornar->SetTabOrder(12);
    Grade_Deb->SetColWidths(0, 130);
    Grade_Comb->SetColWidths(0, 130);
    connect(Ck_senha, &TCheckBox::Click, this, [this] { Ck_senhaClick(); });
}

std::string TFormTabelaBins_167171::EmpresaDoArquivo() const
{
    const std::string Texto = ComboBoxEmpresa->Text();
    return EhTodas(Texto) ? std::string() : Texto;
}

void TFormTabelaBins_167171::HabilitaEdicao()
{
    if (!VerPrivilegio(4, TabCB.NivelUsuario)) {
        EditBins->SetEnabled(false);
        EditNome->SetEnabled(false);
    }
}

void TFormTabelaBins_167171::FormShow()
{
    TFormPadraoCfgBins_B::FormShow();
    PageControl->SetActivePageIndex(0);
    const std::string Todas = LeMensagens(Msg::EmpTODAS);
    ComboBoxEmpresa->InsertItem(0, Todas);
    ComboBoxEmpresa->SetText(Todas);
    TabSet->SetTabs({LeMensagens(Msg::FormDebito), LeMensagens(Msg::FormCombustivel)});
    TabSet->SetTabIndex(0);
    HabilitaEdicao();
    Grade_Deb->SetColWidths(0, 130);
    Grade_Comb->SetColWidths(0, 130);
    EstadoBins().TabelasShow = true;
    ComboBoxEmpresaChange();
}

void TFormTabelaBins_167171::ComboBoxEmpresaChange()
{
    TFormPadraoCfgBins_B::ComboBoxEmpresaChange();
    // The base enables every control of a valid choice; the edit boxes stay closed to a user without
    // the right to change.
    HabilitaEdicao();
    TKovanIni Ini(RaizServidor(), "Mirabelo", EmpresaDoArquivo());
    Ini.IniciaLote(); // one parse of the file for every key of both tables; nothing is written
    LimparStringGrid(Grade_Deb);
    LimparStringGrid(Grade_Comb);
    std::string Invalidos, Excedentes;
    if (Ini.ExistiaAoCriar()) {
        TStringGrid* Grades[2] = {Grade_Deb, Grade_Comb};
        for (int Indice = 0; Indice < 2; ++Indice) {
            const TTabela& T = Tabela(Indice);
            TStringGrid* Grade = Grades[Indice];
            const std::string Total = Ini.LeVar(SecaoTotais, T.Total, "0");
            std::optional<long long> N = Quantidade(Total);
            if (!N) {
                Invalidos += "\r\n" + T.NomeTela + ": " + T.Total + "=" + Total;
                continue;
            }
            // Rows past the last one the file holds would be blank; a count far beyond them (edited by
            // hand, or damaged) must not make the grid try to hold millions of rows.
            std::vector<std::string> Secoes;
            if (*N > 0 && *N > Ini.LeSecs(Secoes)) {
                Excedentes += "\r\n" + T.NomeTela + ": " + T.Total + "=" + Total;
                N = UltimaLinhaGuardada(Secoes, T);
            }
            // The rows are made at once and the view hears of their texts once.
            if (*N > 0)
                Grade->SetRowCount(static_cast<int>(std::min<long long>(*N, INT_MAX - 2)) + 2);
            Grade->IniciaCarga();
            for (long long I = 1; I <= *N && I <= INT_MAX - 2; ++I) {
                const std::string Secao = SecaoLinha(T, I);
                const int Linha = static_cast<int>(I);
                Grade->SetCells(0, Linha, Ini.LeVar(Secao, "Nome", ""));
                Grade->SetCells(1, Linha, Ini.LeVar(Secao, "Bins", ""));
                if (Ini.LeVar(Secao, "Senha", "") == "1")
                    Grade->SetCells(2, Linha, MarcaSenha);
            }
            Grade->TerminaCarga();
        }
    }
    DadosModificados(false);
    TabSheet1Resize();
    if (!Invalidos.empty())
        MessageBox(Utf8ParaCp1252("A quantidade de linhas gravada não é um número; a tabela foi carregada vazia "
                                  "e será gravada corretamente ao salvar.") +
                       Invalidos,
                   TituloConfigurador, MB_OK | MB_ICONWARNING);
    if (!Excedentes.empty())
        MessageBox(Utf8ParaCp1252("A quantidade de linhas gravada passa das linhas que o arquivo guarda; foram "
                                  "carregadas as linhas existentes e a quantidade será corrigida ao salvar.") +
                       Excedentes,
                   TituloConfigurador, MB_OK | MB_ICONWARNING);
}

void TFormTabelaBins_167171::BitBtnSalvarClick()
{
    TFormPadraoCfgBins_B::BitBtnSalvarClick();
    TEstadoBins& U = EstadoBins();
    if (U.TabelasShow) {
        TStringGrid* Grades[2] = {Grade_Deb, Grade_Comb};
        TKovanIni Ini(RaizServidor(), "Mirabelo", EmpresaDoArquivo());
        const bool Existia = Ini.ExistiaAoCriar();
        // The audit entries of both tables come before the change, so a crash never leaves a change
        // without its entries.
        for (int Indice = 0; Indice < 2; ++Indice)
            Monta_Msg_Log("INCLUSAO", Indice);
        // Both tables reach the file in one replace: a crash leaves the old tables or the new ones.
        Ini.IniciaLote();
        if (Existia)
            for (int Indice = 0; Indice < 2; ++Indice) {
                const TTabela& T = Tabela(Indice);
                RemoveLinhas(Ini, T, Grades[Indice]->RowCount() - 2, Quantidade(Ini.LeVar(SecaoTotais, T.Total, "0")));
            }
        for (int Indice = 0; Indice < 2; ++Indice) {
            const TTabela& T = Tabela(Indice);
            TStringGrid* Grade = Grades[Indice];
            const int N = Grade->RowCount() - 2;
            // Each row's section name: the prefix, then the row's number after it.
            const std::string_view Prefixo = T.Prefixo;
            char Nome[64];
            Prefixo.copy(Nome, Prefixo.size());
            for (int I = 1; I <= N; ++I) {
                char Digitos[24];
                const auto Numero = static_cast<std::size_t>(DigitosDaLinha(I, Digitos) - Digitos);
                std::memcpy(Nome + Prefixo.size(), Digitos, Numero);
                const std::string_view Secao(Nome, Prefixo.size() + Numero);
                Ini.GravaVar(Secao, "Nome", Grade->TextoCelula(0, I));
                Ini.GravaVar(Secao, "Bins", Grade->TextoCelula(1, I));
                Ini.GravaVar(Secao, "Senha", Grade->TextoCelula(2, I) == MarcaSenha ? "1" : "0");
            }
            Ini.GravaVar(SecaoTotais, T.Total, std::to_string(N));
        }
        Ini.ConfirmaLote();
        DadosModificados(false);
        BitBtnExcluirBins->SetEnabled(true);
        return;
    }

    // The edit panel: the composed row goes into its table.
    auto Recusa = [](const std::string& Texto, TEdit* Foco) {
        MessageBox(Texto, TituloConfigurador, MB_OK | MB_ICONWARNING);
        if (Foco && Foco->Enabled())
            Foco->SetFocus();
    };
    if (U.opcao == "I") {
        if (EditNome->Text().empty())
            return Recusa(MsgDigiteNome, EditNome);
        if (ExisteNome(EditNome->Text())) {
            MessageBox(MsgNomeExistente, TituloConfigurador, MB_OK | MB_ICONWARNING);
            EditNome->SetText("");
            if (EditNome->Enabled())
                EditNome->SetFocus();
            return;
        }
    }
    if (GridBins->RowCount() == 2)
        return Recusa(TextoDigiteBin, EditBins);
    ExibeFundo(false);
    const std::string Lista = ListaDe(GridBins);
    if (U.opcao == "I") {
        IncluiDadosNaGrid(U.Grid->RowCount() - 1, EditNome->Text(), Lista, Ck_senha->Checked());
    } else {
        IncluiDadosNaGrid(U.LinhaSel, EditNome->Text(), Lista, Ck_senha->Checked());
        U.Grid->SetRowCount(U.Grid->RowCount() - 1);
    }
    TabSheet1Resize();
    U.flagMod = true;
    Mostra_Tabelas(true);
    Clear_Fundo();
}

void TFormTabelaBins_167171::BitBtnIncluirBinsClick()
{
    TEstadoBins& U = EstadoBins();
    const std::string Texto = EditBins->Text();
    auto Recusa = [this](const std::string& Mensagem, unsigned Icone, bool Esvazia) {
        MessageBox(Mensagem, TituloConfigurador, MB_OK | Icone);
        if (Esvazia)
            EditBins->SetText("");
        EditBins->SetFocus();
    };
    const std::size_t Traco = Texto.find('-');
    if (Traco == std::string::npos) {
        if (!TamanhoBinValido(Texto))
            return Recusa(MsgTamanhoInvalido, MB_ICONERROR, true);
    } else {
        const std::string Inferior = Texto.substr(0, Traco), Superior = Texto.substr(Traco + 1);
        if (!TamanhoBinValido(Inferior) || !TamanhoBinValido(Superior))
            return Recusa(MsgTamanhoInvalido, MB_ICONERROR, true);
        if (Numero(Superior) < Numero(Inferior))
            return Recusa(MsgSuperiorMenor, MB_ICONERROR, true);
    }
    if (Procura_bin_Grid2(Texto))
        return Recusa(MsgBinExistente, MB_ICONWARNING, false);
    // The whole list must still fit in its short string, or it would be stored cut.
    const bool Adiciona = BitBtnExcluirBins->Enabled();
    if (ListaDe(GridBins, Adiciona ? 0 : U.LinhaSel2).size() + Texto.size() + 1 > MaximoLista)
        return Recusa(MsgListaCheia, MB_ICONWARNING, false);

    if (Adiciona) {
        IncluiDadosNaGrid2(GridBins->RowCount() - 1, Texto);
    } else {
        IncluiDadosNaGrid2(U.LinhaSel2, Texto);
        GridBins->SetRowCount(GridBins->RowCount() - 1);
    }
    if (GridBins->RowCount() - 2 >= 2)
        QuickSortStringGrid(*GridBins, {0}, 1, GridBins->RowCount() - 2);
    EditBins->SetText("");
    EditBins->SetFocus();
    BitBtnExcluirBins->SetEnabled(true);
    DadosModificados(true);
}

void TFormTabelaBins_167171::Btn_exc_crClick()
{
    TEstadoBins& U = EstadoBins();
    GridAtivo();
    if (U.LinhaSel == 0 || U.LinhaSel >= U.Grid->RowCount() - 1) {
        MessageBox(LeMensagens(237), TituloConfigurador, MB_OK | MB_ICONWARNING);
        return;
    }
    std::string Pergunta = MsgExcluirDaTabela;
    Pergunta.replace(Pergunta.find("%s"), 2, U.Grid->Cells(0, U.Grid->Row()));
    if (MessageBox(Pergunta, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    DadosModificados(true);
    DeleteGridRow(U.LinhaSel);
    U.flagMod = true;
    TabSheet1Resize();
}

void TFormTabelaBins_167171::BitBtnCancelarClick()
{
    TFormPadraoCfgBins_B::BitBtnCancelarClick();
    TEstadoBins& U = EstadoBins();
    if (U.TabelasShow) {
        if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario))
            return;
        if (MessageBox(MsgDesejaCancelar, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return;
        U.flagMod = false;
        ComboBoxEmpresaChange();
        BitBtnExcluirBins->SetEnabled(true);
        return;
    }
    if (MessageBox(MsgDesejaCancelar, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    Clear_Fundo();
    if (U.opcao == "A") {
        EditNome->SetText(U.Grid->Cells(0, U.LinhaSel));
        MoveBin(U.Grid->Cells(1, U.LinhaSel));
        Ck_senha->SetChecked(U.Grid->Cells(2, U.LinhaSel) == MarcaSenha);
    }
    DadosModificadosGrid(false);
}

void TFormTabelaBins_167171::BitBtnExcluirClick()
{
    if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario))
        return;
    if (MessageBox(MsgExcluirTabela, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    TFormPadraoCfgBins_B::BitBtnExcluirClick();
    Monta_Msg_Log("EXCLUSAO", 0);
    Monta_Msg_Log("EXCLUSAO", 1);
    {
        TKovanIni Ini(RaizServidor(), "Mirabelo", EmpresaDoArquivo());
        if (Ini.Existe()) {
            Ini.IniciaLote();
            Ini.RemoveSec(SecaoTotais);
            for (int Indice = 0; Indice < 2; ++Indice)
                RemoveLinhas(Ini, Tabela(Indice), 0, std::nullopt);
            Ini.ConfirmaLote();
        }
    }
    LimparStringGrid(Grade_Deb);
    LimparStringGrid(Grade_Comb);
    DadosModificados(false);
    BitBtnExcluirBins->SetEnabled(true);
}

void TFormTabelaBins_167171::TabSheet1Resize()
{
    TFormPadraoCfgBins_B::TabSheet1Resize();
    for (TStringGrid* Grade : {Grade_Deb, Grade_Comb}) {
        std::size_t Maior = 0;
        for (int L = 1; L < Grade->RowCount(); ++L)
            Maior = std::max(Maior, Grade->TextoCelula(1, L).size());
        Grade->SetColWidths(1, std::max(static_cast<int>(Maior) * 6, PageControl->width() - 190));
    }
}

void TFormTabelaBins_167171::Ck_senhaClick()
{
    DadosModificados(true);
}

void TFormTabelaBins_167171::IncluiDadosNaGrid(int Linha, const std::string& Nome, const std::string& Bins, bool Senha)
{
    TStringGrid* Grade = EstadoBins().Grid;
    Grade->SetRowCount(Grade->RowCount() + 1);
    Grade->SetCells(0, Linha, Nome);
    Grade->SetCells(1, Linha, Bins);
    Grade->SetCells(2, Linha, Senha ? MarcaSenha : "");
}

void TFormTabelaBins_167171::Monta_Msg_Log(const std::string& Operacao, int Indice)
{
    const TTabela& T = Tabela(Indice);
    std::string Linha = LogTela + T.NomeLog;
    if (MaiusculasAscii(Operacao) == "INCLUSAO") {
        const TStringGrid* Grade = Indice == 0 ? Grade_Deb : Grade_Comb;
        const int Colunas = Grade->ColCount(), Linhas = Grade->RowCount() - 2;
        std::vector<std::string> Titulos;
        for (int C = 0; C < Colunas; ++C)
            Titulos.push_back(Grade->Cells(C, 0));
        Linha.reserve(Linha.size() + 16 + static_cast<std::size_t>(std::max(Linhas, 0)) * 64);
        Linha += "\r\nBins : ";
        char Numero[16];
        for (int R = 1; R <= Linhas; ++R) {
            Linha.append("Lin").append(Numero, std::to_chars(Numero, Numero + sizeof Numero, R).ptr) += '(';
            for (int C = 0; C < Colunas; ++C) {
                if (C > 0)
                    Linha += '/';
                const std::string_view Celula = Grade->TextoCelula(C, R);
                const std::string_view Aparada = AparaSe(Celula, [](char Ch) { return BrancoOuControle(Ch); });
                if (!Aparada.empty() && Aparada != "X")
                    Linha += Celula;
                else
                    Linha.append(Titulos[static_cast<std::size_t>(C)]).append(Aparada == "X" ? ":1" : ":0");
            }
            Linha += "); ";
        }
    } else {
        Linha += LogExclusao;
    }
    if (EvtLog)
        EvtLog->LogMsg(Linha, 4, 1);
}

const TFormClass ClasseFormTabelaBins_167171 = {
    "TFormTabelaBins_167171", [](QWidget* Owner) -> TForm* { return new TFormTabelaBins_167171(Owner); }};
