#include "screens/uFormPadraoCfgBins_B.h"

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

#include <QEvent>
#include <QGuiApplication>
#include <QStyle>
#include <algorithm>

namespace {

namespace Msg {
constexpr int Atencao = 8;
constexpr int DesejaSairSemSalvar = 123;
constexpr int SalvarSub = 180;
constexpr int Confirmar = 189;
constexpr int Senha = 206;
constexpr int BinOUIntBin = 231;
constexpr int DesejaExcDaLista = 235;
constexpr int SelecBinCorretamente = 237;
constexpr int DesejaRetornMenuPrinc = 241;
constexpr int NomeEsp = 246;
constexpr int Bins = 247;
constexpr int BIncluir = 248;
constexpr int BAlterar = 249;
constexpr int FormCredito = 395;
constexpr int HintBitBtnIncluirBins = 543;
} // namespace Msg

TEstadoBins Estado;

void TrocaLinhas(TStringGrid& Grade, int A, int B)
{
    for (int C = 0; C < Grade.ColCount(); ++C) {
        const std::string Texto = Grade.Cells(C, A);
        Grade.SetCells(C, A, Grade.Cells(C, B));
        Grade.SetCells(C, B, Texto);
    }
}

} // namespace

TEstadoBins& EstadoBins() noexcept
{
    return Estado;
}

std::string SomaColunas(const TStringGrid& Grade, const std::vector<int>& Colunas, int Linha)
{
    std::string Chave;
    for (int C : Colunas)
        if (C < Grade.ColCount())
            Chave += Apara(Grade.Cells(C, Linha));
    return Chave.substr(0, 255);
}

void QuickSortStringGrid(TStringGrid& Grade, const std::vector<int>& Colunas, int Primeira, int Ultima)
{
    const std::string Pivo = SomaColunas(Grade, Colunas, (Primeira + Ultima) / 2);
    int I = Primeira, J = Ultima;
    do {
        while (SomaColunas(Grade, Colunas, I) < Pivo)
            ++I;
        while (Pivo < SomaColunas(Grade, Colunas, J))
            --J;
        if (I <= J) {
            TrocaLinhas(Grade, I, J);
            ++I;
            --J;
        }
    } while (I <= J);
    if (Primeira < J)
        QuickSortStringGrid(Grade, Colunas, Primeira, J);
    if (I < Ultima)
        QuickSortStringGrid(Grade, Colunas, I, Ultima);
}

TFormPadraoCfgBins_B::TFormPadraoCfgBins_B(QWidget* Owner) : TFormPadraoCfgEstab(Owner)
{
    BitBtnSalvar->move(475, BitBtnSalvar->y());

    auto Rotulo = [this](const char* Nome, const std::string& Legenda, int Esquerda, int Topo) {
        auto* R = new TLabel(TabSheet1);
        R->SetName(Nome);
        R->SetCaption(Legenda);
        R->move(Esquerda, Topo);
        return R;
    };
    auto Botao = [this](const char* Nome, int Topo, QStyle::StandardPixmap Figura) {
        auto* B = new TBitBtn(TabSheet1);
        B->SetName(Nome);
        B->SetBounds(212, Topo, 25, 25);
        B->setIcon(style()->standardIcon(Figura));
        return B;
    };

    // The edit panel.
    Label1 = Rotulo("Label1", "Bin ou Intervalo de Bins", 116, 11);
    EditBins = new TEdit(TabSheet1);
    EditBins->SetName("EditBins");
    EditBins->SetBounds(116, 27, 121, 22);
    BitBtnIncluirBins = Botao("BitBtnIncluirBins", 54, QStyle::SP_ArrowRight);
    BitBtnEditarBins = Botao("BitBtnEditarBins", 85, QStyle::SP_ArrowLeft);
    BitBtnExcluirBins = Botao("BitBtnExcluirBins", 116, QStyle::SP_DialogDiscardButton);
    GridBins = new TStringGrid(TabSheet1);
    GridBins->SetName("GridBins");
    GridBins->SetBounds(244, 27, 156, 91);
    GridBins->SetAnchors(akLeft | akTop | akBottom);
    GridBins->SetColCount(1);
    GridBins->SetColWidths(0, 135);
    GridBins->SetDefaultRowHeight(15);
    GridBins->SetRowCount(2);
    GridBins->SetCells(0, 0, "Bin ou Intervalo de Bins");
    Label3 = Rotulo("Label3", Utf8ParaCp1252("Nome do Cartão"), 116, 161);
    Label3->SetAnchors(akLeft | akBottom);
    EditNome = new TEdit(TabSheet1);
    EditNome->SetName("EditNome");
    EditNome->SetBounds(116, 177, 121, 22);
    EditNome->SetMaxLength(21);
    EditNome->SetAnchors(akLeft | akBottom);
    Ck_senha = new TCheckBox(TabSheet1);
    Ck_senha->SetName("Ck_senha");
    Ck_senha->SetCaption("Coleta Senha");
    Ck_senha->SetBounds(250, 179, 97, 17);
    Ck_senha->SetAnchors(akLeft | akBottom);
    Lbl_Titulo = Rotulo("Lbl_Titulo", "Titulo", 592, 0);
    Lbl_Titulo->SetAnchors(akTop | akRight);
    EditBins->SetTabOrder(6);
    GridBins->SetTabOrder(7);
    EditNome->SetTabOrder(8);
    Ck_senha->SetTabOrder(9);

    // The tables view lies over the panel: the page control's own tabs are hidden, the tab set below
    // the pages chooses among them.
    PageControl = new TPageControl(TabSheet1);
    PageControl->SetName("PageControl");
    PageControl->SetBounds(108, 25, 622, 241);
    PageControl->SetAnchors(akLeft | akTop | akRight | akBottom);
    PageControl->SetTabsEmbaixo(true);
    PageControl->SetTabOrder(10);
    struct TPaginaTabela {
        TTabSheet*& Pagina;
        const char* Nome;
        const char* Legenda;
        const char* Sufixo;
        TSpeedButton*& Inc;
        TSpeedButton*& Alt;
        TSpeedButton*& Exc;
        TStringGrid*& Grade;
        const char* NomeGrade;
    };
    const TPaginaTabela Paginas[] = {
        {TabSheetCred, "TabSheetCred", "Crédito", "cr", Btn_inc_cr, Btn_alt_cr, Btn_exc_cr, Grade_Cred, "Grade_Cred"},
        {TabSheetDeb, "TabSheetDeb", "Débito", "deb", Btn_inc_deb, Btn_alt_deb, Btn_exc_deb, Grade_Deb, "Grade_Deb"},
        {TabSheetConv, "TabSheetConv", "Convênio", "conv", Btn_inc_conv, Btn_alt_conv, Btn_exc_conv, Grade_Conv,
         "Grade_Conv"},
        {TabSheetComb, "TabSheetComb", "Combustível", "comb", Btn_inc_comb, Btn_alt_comb, Btn_exc_comb, Grade_Comb,
         "Grade_Comb"},
    };
    for (const TPaginaTabela& P : Paginas) {
        const std::string Legenda = Utf8ParaCp1252(P.Legenda);
        P.Pagina = new TTabSheet(PageControl);
        P.Pagina->SetName(P.Nome);
        P.Pagina->SetCaption(Legenda);
        P.Pagina->SetTabVisible(false);
        auto Rapido = [&](const char* Acao, const char* Legenda2, const char* Dica, int Esquerda) {
            auto* B = new TSpeedButton(P.Pagina);
            B->SetName(std::string("Btn_") + Acao + "_" + P.Sufixo);
            B->SetCaption(Legenda2);
            B->SetHint(std::string(Dica) + Legenda + ".");
            B->SetFlat(true);
            B->SetBounds(Esquerda, 0, 62, 22);
            return B;
        };
        P.Inc = Rapido("inc", "&Incluir", "Incluir nova linha na tabela de ", 0);
        P.Alt = Rapido("alt", "&Alterar", "Alterar linha na tabela de ", 63);
        // Not "&Excluir": Alt+E is the button that deletes the whole tables.
        P.Exc = Rapido("exc", "E&xcluir", "Excluir linha na tabela de ", 126);
        P.Grade = new TStringGrid(P.Pagina);
        P.Grade->SetName(P.NomeGrade);
        P.Grade->SetBounds(0, 24, 615, 190);
        P.Grade->SetAnchors(akLeft | akTop | akRight | akBottom);
        P.Grade->SetColCount(3);
        P.Grade->SetRowCount(2);
        P.Grade->SetSelecaoLinha(true);
        TStringGrid* Grade = P.Grade;
        connect(P.Inc, &TSpeedButton::Click, this, [this] { Btn_inc_crClick(); });
        connect(P.Alt, &TSpeedButton::Click, this, [this] { Btn_alt_crClick(); });
        connect(P.Exc, &TSpeedButton::Click, this, [this] { Btn_exc_crClick(); });
        connect(Grade, &TStringGrid::DblClick, this, [this, Grade] { Grade_CredDblClick(Grade); });
        connect(Grade, &TStringGrid::SelectCell, this,
                [this, Grade](int C, int L, bool& Pode) { Grid_SelectCell(Grade, C, L, Pode); });
    }
    TabSet = new TTabSet(TabSheet1);
    TabSet->SetName("TabSet");
    TabSet->SetBounds(108, 244, 622, 22);
    TabSet->SetAnchors(akLeft | akRight | akBottom);
    TabSet->SetTabs({Utf8ParaCp1252("Crédito"), Utf8ParaCp1252("Débito"), Utf8ParaCp1252("Convênio"),
                     Utf8ParaCp1252("Combustível")});
    TabSet->setAutoFillBackground(true);
    TabSet->SetTabOrder(11);
    TabSet->raise();

    connect(GridBins, &TStringGrid::SelectCell, this,
            [this](int C, int L, bool& Pode) { Grid_SelectCell(GridBins, C, L, Pode); });
    connect(EditBins, &TEdit::KeyPress, this, [this](char& Key) { EditBinsKeyPress(Key); });
    connect(EditBins, &TEdit::Enter, this, [this] { EditBinsEnter(); });
    connect(EditNome, &TEdit::Change, this, [this] { EditNomeChange(); });
    connect(BitBtnIncluirBins, &TBitBtn::Click, this, [this] { BitBtnIncluirBinsClick(); });
    connect(BitBtnEditarBins, &TBitBtn::Click, this, [this] { BitBtnEditarBinsClick(); });
    connect(BitBtnExcluirBins, &TBitBtn::Click, this, [this] { BitBtnExcluirBinsClick(); });
    connect(PageControl, &TPageControl::Enter, this, [this] { PageControlEnter(); });
    connect(TabSet, &TTabSet::Click, this, [this] { TabSetClick(); });
    connect(TabSet, &TTabSet::Enter, this, [this] { TabSetEnter(); });
    TabSheet1->installEventFilter(this);
}

TFormPadraoCfgBins_B::~TFormPadraoCfgBins_B()
{
    TabSheet1->removeEventFilter(this);
    Estado = TEstadoBins();
}

bool TFormPadraoCfgBins_B::eventFilter(QObject* Objeto, QEvent* Evento)
{
    if (Objeto == TabSheet1 && Evento->type() == QEvent::Resize)
        ExecutaProtegido([this] { TabSheet1Resize(); });
    return TFormPadraoCfgEstab::eventFilter(Objeto, Evento);
}

void TFormPadraoCfgBins_B::FormShow()
{
    TFormPadraoCfgEstab::FormShow();
    Estado.flagMod = false;
    GridBins->SetColWidths(0, 135);
    GridBins->SetCells(0, 0, LeMensagens(Msg::BinOUIntBin));
    for (TStringGrid* Grade : {Grade_Cred, Grade_Deb, Grade_Conv, Grade_Comb}) {
        Grade->SetDefaultRowHeight(17);
        Grade->SetColWidths(0, 90);
        Grade->SetColWidths(1, 280);
        Grade->SetColWidths(2, 45);
        Grade->SetCells(0, 0, LeMensagens(Msg::NomeEsp));
        Grade->SetCells(1, 0, LeMensagens(Msg::Bins));
        Grade->SetCells(2, 0, LeMensagens(Msg::Senha));
    }
    PageControl->SetActivePageIndex(0);
    TabSet->SetTabs({LeMensagens(Msg::FormCredito), LeMensagens(Msg::FormCredito + 1),
                     LeMensagens(Msg::FormCredito + 2), LeMensagens(Msg::FormCredito + 3)});
    TabSet->SetTabIndex(0);
    int Dica = Msg::HintBitBtnIncluirBins;
    for (TBitBtn* B : {BitBtnIncluirBins, BitBtnEditarBins, BitBtnExcluirBins}) {
        B->SetHint(LeMensagens(Dica++));
        B->SetShowHint(B->Enabled());
    }
    ExibeFundo(false);
    GridAtivo();
    DadosModificados(false);
}

void TFormPadraoCfgBins_B::Mostra_Tabelas(bool Mostra)
{
    PageControl->SetVisible(Mostra);
    TabSet->SetVisible(Mostra);
    Estado.TabelasShow = Mostra;
    BitBtnSalvar->SetCaption(LeMensagens(Mostra ? Msg::SalvarSub : Msg::Confirmar));
    Label3->SetEnabled(Estado.opcao == "I");
    EditNome->SetEnabled(Estado.opcao == "I");
    if (Mostra && Estado.Grid && Estado.Grid->CanFocus())
        Estado.Grid->SetFocus(); // back from the panel, the keyboard is on the table again
}

void TFormPadraoCfgBins_B::ExibeFundo(bool Mostra)
{
    // The three BIN buttons go with the panel: under the tables view they would still take the focus.
    for (QWidget* W : std::initializer_list<QWidget*>{Label1, EditBins, Lbl_Titulo, GridBins, Label3, EditNome, Ck_senha,
                                                      BitBtnIncluirBins, BitBtnEditarBins, BitBtnExcluirBins})
        W->setVisible(Mostra);
}

void TFormPadraoCfgBins_B::Clear_Fundo()
{
    BitBtnExcluirBins->SetEnabled(true);
    EditBins->SetText("");
    EditNome->SetText("");
    Ck_senha->SetChecked(false);
    LimparStringGrid(GridBins);
}

void TFormPadraoCfgBins_B::MostraTitulo()
{
    const TTabSheet* Pagina = PageControl->Pages(PageControl->ActivePageIndex());
    Lbl_Titulo->SetCaption((Pagina ? Pagina->Caption() : std::string()) +
                           LeMensagens(Estado.opcao == "I" ? Msg::BIncluir : Msg::BAlterar));
}

void TFormPadraoCfgBins_B::GridAtivo()
{
    const TTabSheet* Pagina = PageControl->ActivePage();
    if (!Pagina)
        return;
    for (QObject* Filho : Pagina->children())
        if (auto* Grade = qobject_cast<TStringGrid*>(Filho))
            Estado.Grid = Grade;
}

void TFormPadraoCfgBins_B::LimparStringGrid(TStringGrid* Grade)
{
    // The rows past the first go with their cells; only the one left is blanked. No row stays
    // current: a row chosen before the grid was emptied names nothing now.
    Grade->SetRowCount(2);
    for (int C = 0; C < Grade->ColCount(); ++C)
        Grade->SetCells(C, 1, "");
    Grade->setCurrentIndex(QModelIndex());
    if (Grade == GridBins)
        Estado.LinhaSel2 = 0;
    else if (Grade == Estado.Grid)
        Estado.LinhaSel = 0;
}

void TFormPadraoCfgBins_B::IncluiDadosNaGrid2(int Linha, const std::string& Bin)
{
    GridBins->SetRowCount(GridBins->RowCount() + 1);
    GridBins->SetCells(0, Linha, Bin);
}

void TFormPadraoCfgBins_B::DeleteGridRow(int Linha)
{
    TStringGrid* Grade = Estado.TabelasShow ? Estado.Grid : GridBins;
    const int Colunas = Estado.TabelasShow ? Grade->ColCount() : 1;
    for (int L = Linha; L < Grade->RowCount() - 1; ++L)
        for (int C = 0; C < Colunas; ++C)
            Grade->SetCells(C, L, Grade->Cells(C, L + 1));
    Grade->SetRowCount(Grade->RowCount() - 1);
}

void TFormPadraoCfgBins_B::Grid_SelectCell(TStringGrid*, int Coluna, int Linha, bool& PodeSelecionar)
{
    if (Estado.TabelasShow) {
        Estado.LinhaSel = Linha;
        Estado.ColunaSel = Coluna;
    } else {
        Estado.LinhaSel2 = Linha;
        Estado.ColunaSel2 = Coluna;
    }
    PodeSelecionar = true;
}

void TFormPadraoCfgBins_B::Btn_inc_crClick()
{
    Estado.opcao = "I";
    MostraTitulo();
    Mostra_Tabelas(false);
    ExibeFundo(true);
    Estado.FlagAux = Estado.flagMod;
    DadosModificadosGrid(false);
    FocaPainel();
}

void TFormPadraoCfgBins_B::FocaPainel()
{
    // The table the focus was on is hidden now: typing goes on in the panel.
    if (EditBins->CanFocus())
        EditBins->SetFocus();
}

void TFormPadraoCfgBins_B::Btn_alt_crClick()
{
    GridAtivo();
    TStringGrid* Grade = Estado.Grid;
    Estado.LinhaSel = Grade->Row(); // the row the person sees chosen, after any reload
    if (Estado.LinhaSel != 0 && Estado.LinhaSel < Grade->RowCount() - 1) {
        EditNome->SetText(Grade->Cells(0, Estado.LinhaSel));
        MoveBin(Grade->Cells(1, Estado.LinhaSel));
        Estado.opcao = "A";
        MostraTitulo();
        Mostra_Tabelas(false);
        ExibeFundo(true);
        DadosModificadosGrid(false);
        FocaPainel();
    } else {
        MessageBox(LeMensagens(Msg::SelecBinCorretamente), TituloConfigurador, MB_OK | MB_ICONWARNING);
    }
    Estado.FlagAux = Estado.flagMod;
}

void TFormPadraoCfgBins_B::Btn_exc_crClick() {}

void TFormPadraoCfgBins_B::Grade_CredDblClick(TStringGrid* Sender)
{
    // A double click does what Incluir or Alterar do, and only while they can be pressed: never for a
    // viewer, in the host's view-only mode, or while no company is chosen.
    if (SomenteVisualiza())
        return;
    for (const TSpeedButton* Botao : Sender->parentWidget()->findChildren<TSpeedButton*>())
        if (!Botao->isEnabled())
            return;
    Estado.LinhaSel = Sender->Row();
    if (Sender->Cells(0, Estado.LinhaSel).empty() || Sender->RowCount() == 2)
        Btn_inc_crClick();
    else
        Btn_alt_crClick();
    Estado.FlagAux = Estado.flagMod;
}

void TFormPadraoCfgBins_B::MoveBin(const std::string& ListaBins)
{
    std::size_t Inicio = 0;
    for (std::size_t Fim; (Fim = ListaBins.find(';', Inicio)) != std::string::npos; Inicio = Fim + 1) {
        const std::string Entrada = ListaBins.substr(Inicio, Fim - Inicio);
        if (Entrada.empty())
            break;
        IncluiDadosNaGrid2(GridBins->RowCount() - 1, Entrada);
    }
    Ck_senha->SetChecked(Estado.Grid && !Estado.Grid->Cells(2, Estado.LinhaSel).empty());
}

bool TFormPadraoCfgBins_B::ExisteNome(const std::string& Nome)
{
    GridAtivo();
    const std::string Procurado = MaiusculasAscii(Apara(Nome));
    for (int L = 1; L < Estado.Grid->RowCount(); ++L)
        if (MaiusculasAscii(Apara(Estado.Grid->Cells(0, L))) == Procurado)
            return true;
    return false;
}

void TFormPadraoCfgBins_B::EditBinsKeyPress(char& Key)
{
    if (Key == 13) { // Enter adds the entry, as its button does
        Key = 0;
        BitBtnIncluirBinsClick();
        return;
    }
    const bool Controle = Key == 8 || Key == 9 || Key == 10 || Key == 13 || Key == 27;
    const bool Digito = Key >= '0' && Key <= '9';
    if (!Controle && !Digito && Key != '-') {
        Key = 0;
        return;
    }
    const std::string Texto = EditBins->Text();
    const std::size_t Traco = Texto.find('-');
    if (Key == '-' && Traco != std::string::npos) {
        Key = 0;
        return;
    }
    if (Texto.size() >= 9 && Traco == std::string::npos && !Controle) {
        // A tenth character opens the upper bound of a range by itself.
        EditBins->SetText(Texto.substr(0, 9) + "-" + Texto.substr(9) + Key);
        Key = 0;
        EditBins->deselect();
        EditBins->SetSelStart(static_cast<int>(Texto.size()) + 2);
        return;
    }
    if (Traco != std::string::npos) {
        const std::size_t Inferior = Traco;
        const std::size_t Superior = Texto.size() - Traco - 1 + 1; // what follows the "-", plus the key
        if (Inferior < Superior && (Digito || Key == '-'))
            Key = 0;
    }
}

void TFormPadraoCfgBins_B::BitBtnIncluirBinsClick() {}

void TFormPadraoCfgBins_B::BitBtnEditarBinsClick()
{
    if (Estado.LinhaSel2 != 0 && Estado.LinhaSel2 < GridBins->RowCount() - 1) {
        EditBins->SetText(GridBins->Cells(0, Estado.LinhaSel2));
        BitBtnExcluirBins->SetEnabled(false);
        EditBins->SetFocus();
    } else {
        MessageBox(LeMensagens(Msg::SelecBinCorretamente), TituloConfigurador, MB_OK | MB_ICONWARNING);
    }
}

void TFormPadraoCfgBins_B::BitBtnExcluirBinsClick()
{
    if (!VerPrivilegioEx(Application(), 2, TabCB.NivelUsuario))
        return;
    if (Estado.LinhaSel2 == 0 || Estado.LinhaSel2 >= GridBins->RowCount() - 1) {
        MessageBox(LeMensagens(Msg::SelecBinCorretamente), TituloConfigurador, MB_OK | MB_ICONWARNING);
        return;
    }
    std::string Pergunta = LeMensagens(Msg::DesejaExcDaLista);
    const std::size_t Marca = Pergunta.find("%s");
    if (Marca != std::string::npos)
        Pergunta.replace(Marca, 2, GridBins->Cells(0, GridBins->Row()));
    PostMessage(WM_HACKBOX);
    if (MessageBox(Pergunta, LeMensagens(Msg::Atencao), MB_YESNO | MB_DEFBUTTON2) == IDYES) {
        DeleteGridRow(Estado.LinhaSel2);
        DadosModificados(true);
    }
}

bool TFormPadraoCfgBins_B::Procura_bin_Grid2(const std::string& Bin)
{
    const bool Substituindo = !BitBtnExcluirBins->Enabled();
    for (int L = 1; L < GridBins->RowCount() - 1; ++L) {
        if (Substituindo && L == Estado.LinhaSel2)
            continue;
        if (ComparaBin(Bin, GridBins->Cells(0, L)))
            return true;
    }
    return false;
}

void TFormPadraoCfgBins_B::EditNomeChange()
{
    DadosModificados(true);
}

void TFormPadraoCfgBins_B::EditBinsEnter()
{
    if (EditBins->CanFocus() && Estado.TabelasShow) {
        GridAtivo();
        Estado.Grid->SetFocus();
    }
}

void TFormPadraoCfgBins_B::PageControlEnter()
{
    if (PageControl->CanFocus() && Estado.Grid)
        Estado.Grid->SetFocus();
}

void TFormPadraoCfgBins_B::TabSetEnter()
{
    // A click on a tab sends the focus to its table; Tab stops on the tab set (the arrows change the
    // table) and goes on from there, or the keyboard would go round in circles.
    if (TabSet->CanFocus() && Estado.TabelasShow && Estado.Grid && QGuiApplication::mouseButtons() != Qt::NoButton)
        Estado.Grid->SetFocus();
}

void TFormPadraoCfgBins_B::TabSetClick()
{
    PageControl->SetActivePageIndex(TabSet->TabIndex());
    GridAtivo();
}

void TFormPadraoCfgBins_B::TabSheet1Resize()
{
    if (TabSheet1->height() < 344) {
        TabSheet1->resize(TabSheet1->width(), 344);
        GridBins->resize(GridBins->width(), 125);
        PageControlEstab->resize(PageControlEstab->width(), 373);
    }
}

void TFormPadraoCfgBins_B::ComboBoxEmpresaKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_DELETE || ((Shift & ssCtrl) && Key == 'V')) {
        ComboBoxEmpresa->SetText("");
        Key = 0;
    }
    SoltaTeclaInsert();
}

void TFormPadraoCfgBins_B::BitBtnRetornarClick()
{
    if (Estado.TabelasShow) {
        if (Modificado) {
            PostMessage(WM_HACKBOX);
            if (MessageBox(LeMensagens(Msg::DesejaSairSemSalvar), TituloConfigurador,
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
                return;
        }
        close();
        EvtLog.reset();
        std::string Vazio(1, '\0');
        CallBack(0, 0, Vazio.data());
        return;
    }
    bool Sai = true;
    if (BitBtnSalvar->Enabled()) {
        PostMessage(WM_HACKBOX);
        Sai = MessageBox(LeMensagens(Msg::DesejaRetornMenuPrinc), TituloConfigurador,
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    }
    Estado.flagMod = Estado.FlagAux;
    if (!Sai)
        return;
    ExibeFundo(false);
    Clear_Fundo();
    Mostra_Tabelas(true);
    DadosModificados(false);
    if (Estado.flagMod)
        DadosModificados(true);
}

void TFormPadraoCfgBins_B::DadosModificados(bool Valor)
{
    AplicaModificado(Valor, true);
}

void TFormPadraoCfgBins_B::DadosModificadosGrid(bool Valor)
{
    AplicaModificado(Valor, true);
    BitBtnExcluir->SetEnabled(Valor);
    ComboBoxEmpresa->SetEnabled(Valor);
    AplicaRestricoes();
}
