#include "screens/uFormTabelaBins_167171.h"

#include "config/TabelaBins.h"
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
#include <optional>

namespace {

namespace Msg {
constexpr int EmpTODAS = 250;
constexpr int SelecEmpConfigurar = 389;
constexpr int FormDebito = 396;
constexpr int FormCombustivel = 398;
} // namespace Msg

const std::string MsgDigiteNome = "Digite um Nome para o(s) Bin(s).";
const std::string MsgNomeExistente = Utf8ParaCp1252("Nome já existente.");
const std::string TextoDigiteBin = "Digite um Bin!";
const std::string MsgExcluirDaTabela = "Deseja excluir [%s] da Tabela ?";
const std::string MsgDesejaCancelar = Utf8ParaCp1252("Deseja cancelar as alterações ?");
const std::string MsgExcluirTabela = "Deseja excluir a Tabela de Bins ?";

// The BIN list of the composed row: every entry followed by ";".
std::string ListaDe(const TStringGrid* Grade, int Excluida = 0)
{
    std::string Lista;
    for (int L = 1; L < Grade->RowCount() - 1; ++L)
        if (L != Excluida)
            Lista.append(Grade->TextoCelula(0, L)) += ';';
    return Lista;
}

// The rows of a table grid (rows 1 to RowCount - 2).
std::vector<TLinhaBins> LinhasDa(const TStringGrid* Grade)
{
    std::vector<TLinhaBins> Linhas;
    for (int L = 1; L < Grade->RowCount() - 1; ++L)
        Linhas.push_back({Grade->Cells(0, L), Grade->Cells(1, L), Grade->TextoCelula(2, L) == MarcaSenha});
    return Linhas;
}

} // namespace

TFormTabelaBins_167171::TFormTabelaBins_167171(QWidget* Owner) : TFormPadraoCfgBins_B(Owner)
{
    NomeTela = "Tabela Bins";
    // Débito first and active, then Combustível; the other two pages stay without a tab.
    PageControl->tabBar()->moveTab(TabSheetDeb->PageIndex(), 0);
    PageControl->tabBar()->moveTab(TabSheetComb->PageIndex(), 1);
    PageControl->SetActivePage(TabSheetDeb);
    TabSet->SetTabs({RegrasBins::NomeNaTela(TabelaDebito), RegrasBins::NomeNaTela(TabelaCombustivel)});
    TabSet->SetTabIndex(-1);
    Lbl_Titulo->move(615, Lbl_Titulo->y());
    ComboBoxEmpresa->move(ComboBoxEmpresa->x(), 29);
    // The keyboard's way round: the table and its tab set, the buttons, then the edit panel's controls
    // (only one view is shown at a time). The page control itself is no stop: its tabs are hidden.
    PageControl->SetTabStop(false);
    int Ordem = 1;
    for (QWidget* W : std::initializer_list<QWidget*>{PageControl, TabSet, BitBtnSalvar, BitBtnCancelar, BitBtnRetornar,
                                                      BitBtnExcluir, GroupBoxEmpresa, EditBins, BitBtnIncluirBins,
                                                      BitBtnEditarBins, BitBtnExcluirBins, GridBins, EditNome, Ck_senha})
        DefineOrdemTab(W, Ordem++);
    Grade_Deb->SetColWidths(0, 130);
    Grade_Comb->SetColWidths(0, 130);
    connect(Ck_senha, &TCheckBox::Click, this, [this] { Ck_senhaClick(); });
}

std::string TFormTabelaBins_167171::EmpresaDoArquivo() const
{
    const std::string Texto = ComboBoxEmpresa->Text();
    return EhTodas(Texto) ? std::string() : Texto;
}

bool TFormTabelaBins_167171::CaixaNomeiaTabelas() const
{
    const std::string Texto = ComboBoxEmpresa->Text();
    if (!EmpresaCarregada || *EmpresaCarregada != EmpresaDoArquivo() ||
        !(EhTodas(Texto) || VerificaComboBoxEmpresa(Texto))) {
        MessageBox(LeMensagens(Msg::SelecEmpConfigurar), TituloConfigurador, MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
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
    EmpresaCarregada = EmpresaDoArquivo();
    const TCargaBins Carga = CarregaTabelasBins(RaizServidor(), *EmpresaCarregada);
    LimparStringGrid(Grade_Deb);
    LimparStringGrid(Grade_Comb);
    EstadoBins().flagMod = false;
    std::string Invalidos, Excedentes;
    TStringGrid* Grades[2] = {Grade_Deb, Grade_Comb};
    for (int Indice = 0; Indice < 2; ++Indice) {
        const std::string Total = "\r\n" + RegrasBins::NomeNaTela(Indice) + ": " + RegrasBins::ChaveTotal(Indice) +
                                  "=" + Carga.Total[Indice];
        if (Carga.TotalInvalido[Indice])
            Invalidos += Total;
        if (Carga.TotalExcedente[Indice])
            Excedentes += Total;
        // The rows are made at once and the view hears of their texts once.
        TStringGrid* Grade = Grades[Indice];
        const std::vector<TLinhaBins>& Linhas = Carga.Tabelas.Linhas[Indice];
        if (Linhas.empty())
            continue;
        Grade->SetRowCount(static_cast<int>(Linhas.size()) + 2);
        Grade->IniciaCarga();
        for (std::size_t I = 0; I < Linhas.size(); ++I) {
            const int Linha = static_cast<int>(I) + 1;
            Grade->SetCells(0, Linha, Linhas[I].Nome);
            Grade->SetCells(1, Linha, Linhas[I].Bins);
            if (Linhas[I].Senha)
                Grade->SetCells(2, Linha, MarcaSenha);
        }
        Grade->TerminaCarga();
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
        if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario) || !CaixaNomeiaTabelas())
            return;
        // Both tables reach the file in one replace, each audit entry in the log before it: a crash
        // leaves the old tables or the new ones, and never a change without its entry.
        TTabelasBins Tabelas;
        Tabelas.Linhas[TabelaDebito] = LinhasDa(Grade_Deb);
        Tabelas.Linhas[TabelaCombustivel] = LinhasDa(Grade_Comb);
        SalvaTabelasBins(RaizServidor(), *EmpresaCarregada, Tabelas, Auditoria(), Titulos());
        U.flagMod = false;
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
        if (Apara(EditNome->Text()).empty())
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
    if (const std::optional<TErroBins> Erro = RegrasBins::ValidaEntrada(Texto))
        return Recusa(RegrasBins::Mensagem(*Erro), MB_ICONERROR, true);
    if (Procura_bin_Grid2(Texto))
        return Recusa(RegrasBins::Mensagem(TErroBins::BinExistente), MB_ICONWARNING, false);
    // The whole list must still fit in its short string, or it would be stored cut.
    const bool Adiciona = BitBtnExcluirBins->Enabled();
    if (ListaDe(GridBins, Adiciona ? 0 : U.LinhaSel2).size() + Texto.size() + 1 > RegrasBins::MaximoLista)
        return Recusa(RegrasBins::Mensagem(TErroBins::ListaCheia), MB_ICONWARNING, false);

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
    if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario))
        return;
    TEstadoBins& U = EstadoBins();
    GridAtivo();
    // The row asked about is the row deleted: the one the person sees chosen, after any reload.
    U.LinhaSel = U.Grid->Row();
    if (U.LinhaSel == 0 || U.LinhaSel >= U.Grid->RowCount() - 1) {
        MessageBox(LeMensagens(237), TituloConfigurador, MB_OK | MB_ICONWARNING);
        return;
    }
    std::string Pergunta = MsgExcluirDaTabela;
    Pergunta.replace(Pergunta.find("%s"), 2, U.Grid->Cells(0, U.LinhaSel));
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
    if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario) || !CaixaNomeiaTabelas())
        return;
    if (MessageBox(MsgExcluirTabela, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    TFormPadraoCfgBins_B::BitBtnExcluirClick();
    ApagaTabelasBins(RaizServidor(), *EmpresaCarregada, Auditoria());
    LimparStringGrid(Grade_Deb);
    LimparStringGrid(Grade_Comb);
    EstadoBins().flagMod = false;
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
    Auditoria()(RegrasBins::MontaLog(Operacao, Indice, LinhasDa(Indice == 0 ? Grade_Deb : Grade_Comb), Titulos()));
}

TAuditoria TFormTabelaBins_167171::Auditoria()
{
    // The company the entries are for: the file's, "Todas" for the general one.
    const std::string Empresa = EmpresaCarregada.value_or("");
    return [this, Empresa = Empresa.empty() ? LeMensagens(Msg::EmpTODAS) : Empresa](const std::string& Texto) {
        if (EvtLog)
            EvtLog->LogMsg(Texto, 4, 1, Empresa);
    };
}

TTitulosBins TFormTabelaBins_167171::Titulos() const
{
    return {Grade_Deb->Cells(0, 0), Grade_Deb->Cells(1, 0), Grade_Deb->Cells(2, 0)};
}

const TFormClass ClasseFormTabelaBins_167171 = {
    "TFormTabelaBins_167171", [](QWidget* Owner) -> TForm* { return new TFormTabelaBins_167171(Owner); }};
