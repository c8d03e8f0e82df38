#include "screens/uFormPadraoCfgTransHab.h"

#include "config/Lib.h"
#include "module/info.h"
#include "platform/Cp1252.h"
#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"

#include <QFont>

namespace {

const std::string TextoCredito = Utf8ParaCp1252("Crédito");
const std::string TextoDebito = Utf8ParaCp1252("Débito");
const std::string TextoConvenio = Utf8ParaCp1252("Convênio");
const std::string TextoCombustivel = Utf8ParaCp1252("Combustível");
const std::string TextoAVista = Utf8ParaCp1252("À Vista");
const std::string TextoNumeroParcelas = Utf8ParaCp1252("Número Parcelas");
const std::string TextoPreDatada = Utf8ParaCp1252("Pré Datada");
const std::string TextoParceladoAdm = Utf8ParaCp1252("Parcelado com juros (administradora do cartão)");
const std::string TextoParceladoEstab = "Parcelado sem juros (estabelecimento)";


TCheckBox* CriaCaixa(QWidget* Pai, const char* Nome, const std::string& Legenda, int Topo)
{
    auto* C = CriaControle<TCheckBox>(Pai, Nome, 16, Topo, 330, 17);
    C->SetCaption(Legenda);
    return C;
}

TLabel* CriaRotulo(QWidget* Pai, const char* Nome, const std::string& Legenda, int Esquerda, int Topo, int Largura)
{
    auto* R = CriaControle<TLabel>(Pai, Nome, Esquerda, Topo, Largura, 15);
    R->SetCaption(Legenda);
    R->SetEnabled(false);
    return R;
}

// Tab order of the controls of one page, in the order given.
void DefineOrdem(std::initializer_list<QWidget*> Controles)
{
    int Ordem = 0;
    for (QWidget* Controle : Controles)
        DefineOrdemTab(Controle, Ordem++);
}

TEdit* CriaNumero(QWidget* Pai, const char* Nome, int Esquerda, int Topo, int Digitos)
{
    auto* E = CriaControle<TEdit>(Pai, Nome, Esquerda, Topo, Digitos == 4 ? 40 : 24, 21);
    E->SetMaxLength(Digitos);
    E->SetEnabled(false);
    return E;
}

} // namespace

TFormPadraoCfgTransHab::TFormPadraoCfgTransHab(QWidget* Owner) : TFormPadraoCfgEstab(Owner)
{
    QFont Fonte = font();
    Fonte.setFamily("Arial");
    setFont(Fonte);

    PageControl1 = CriaControle<TPageControl>(TabSheet1, "PageControl1", 111, 25, 567, 223);
    PageControl1->SetTabsEmbaixo(true);
    PageControl1->SetAnchors(akLeft | akTop | akRight);
    PageControl1->SetTabOrder(6);
    TabCred = new TTabSheet(PageControl1);
    TabCred->SetName("TabCred");
    TabCred->SetCaption(TextoCredito);
    TabDebt = new TTabSheet(PageControl1);
    TabDebt->SetName("TabDebt");
    TabDebt->SetCaption(TextoDebito);
    TabConvenio = new TTabSheet(PageControl1);
    TabConvenio->SetName("TabConvenio");
    TabConvenio->SetCaption(TextoConvenio);

    // Crédito: the check boxes top to bottom, then the number of installments.
    Cr_vista = CriaCaixa(TabCred, "Cr_vista", TextoAVista, 12);
    Label1 = CriaRotulo(TabCred, "Label1", TextoNumeroParcelas, 16, 120, 90);
    ParcelasC = CriaNumero(TabCred, "ParcelasC", 110, 116, 2);
    Cr_parceladoEstab = CriaCaixa(TabCred, "Cr_parceladoEstab", TextoParceladoEstab, 36);
    Cr_cancelamento = CriaCaixa(TabCred, "Cr_cancelamento", "Cancelamento", 84);
    Cr_parceladoAdm = CriaCaixa(TabCred, "Cr_parceladoAdm", TextoParceladoAdm, 60);
    DefineOrdem({Cr_vista, Cr_parceladoEstab, Cr_parceladoAdm, Cr_cancelamento, ParcelasC});

    // Débito: the check boxes, then the pre-dated limit and the first-installment limit.
    Deb_vista = CriaCaixa(TabDebt, "Deb_vista", TextoAVista, 12);
    Deb_CDC = CriaCaixa(TabDebt, "Deb_CDC", "CDC", 36);
    Deb_cancelamento = CriaCaixa(TabDebt, "Deb_cancelamento", "Cancelamento", 60);
    Deb_preData = CriaCaixa(TabDebt, "Deb_preData", TextoPreDatada, 84);
    // Each date: its label, then day "/" month "/" year.
    auto Data = [this](int Topo, TEdit*& Dia, TLabel*& Barra1, TEdit*& Mes, TLabel*& Barra2, TEdit*& Ano,
                       std::initializer_list<const char*> Nomes) {
        const char* const* N = Nomes.begin();
        Dia = CriaNumero(TabDebt, N[0], 210, Topo, 2);
        Barra1 = CriaRotulo(TabDebt, N[1], "/", 236, Topo + 4, 6);
        Mes = CriaNumero(TabDebt, N[2], 244, Topo, 2);
        Barra2 = CriaRotulo(TabDebt, N[3], "/", 270, Topo + 4, 6);
        Ano = CriaNumero(TabDebt, N[4], 278, Topo, 4);
        Dia->SetHint("ddmmaaaa");
    };
    Label3 = CriaRotulo(TabDebt, "Label3", "Data Limite PreDatado", 16, 120, 190);
    Data(116, PD_d, Label41, PD_m, Label7, PD_a, {"PD_d", "Label41", "PD_m", "Label7", "PD_a"});
    Label5 = CriaRotulo(TabDebt, "Label5", "Data Limite da Primeira Parcela", 16, 148, 190);
    Data(144, PP_d, Label8, PP_m, Label9, PP_a, {"PP_d", "Label8", "PP_m", "Label9", "PP_a"});
    DefineOrdem({Deb_vista, Deb_CDC, Deb_cancelamento, Deb_preData, PD_d, PD_m, PD_a, PP_d, PP_m, PP_a});

    // Convênio.
    Conv_vista = CriaCaixa(TabConvenio, "Conv_vista", TextoAVista, 12);
    Conv_parceladaEstab = CriaCaixa(TabConvenio, "Conv_parceladaEstab", TextoParceladoEstab, 36);
    Conv_cancelamento = CriaCaixa(TabConvenio, "Conv_cancelamento", "Cancelamento", 60);
    Label6 = CriaRotulo(TabConvenio, "Label6", TextoNumeroParcelas, 16, 96, 90);
    ParcelasCon = CriaNumero(TabConvenio, "ParcelasCon", 110, 92, 2);
    DefineOrdem({Conv_vista, Conv_parceladaEstab, Conv_cancelamento, ParcelasCon});

    // The tab set lies over the strip where the page control draws its own tabs, so only the tab
    // set's tabs can be seen and clicked.
    TabSet1 = CriaControle<TTabSet>(TabSheet1, "TabSet1", 111, 225, 567, 23);
    TabSet1->SetTabs({TextoCredito, TextoDebito, TextoConvenio, TextoCombustivel});
    TabSet1->SetTabIndex(0);
    TabSet1->setAutoFillBackground(true);
    TabSet1->SetAnchors(akLeft | akTop | akRight);
    TabSet1->SetTabOrder(7);
    TabSet1->raise();
    PageControl1->SetActivePageIndex(0);

    // The toolkit raises every event inside the event boundary.
    connect(Cr_parceladoEstab, &TCheckBox::Click, this, [this] { Cr_parceladoEstabClick(); });
    connect(Cr_parceladoAdm, &TCheckBox::Click, this, [this] { Cr_parceladoAdmClick(); });
    connect(Conv_parceladaEstab, &TCheckBox::Click, this, [this] { Conv_parceladaEstabClick(); });
    connect(Deb_preData, &TCheckBox::Click, this, [this] { Deb_preDataClick(); });
    connect(ParcelasC, &TEdit::KeyPress, this, [this](char& Key) { ParcelasCKeyPress(Key); });
    connect(ParcelasCon, &TEdit::KeyPress, this, [this](char& Key) { ParcelasConKeyPress(Key); });
    for (TEdit* Data : {PD_d, PD_m, PD_a, PP_d, PP_m, PP_a}) {
        connect(Data, &TEdit::Change, this, [this, Data] { PD_dChange(Data); });
        connect(Data, &TEdit::KeyPress, this, [this](char& Key) { PD_dKeyPress(Key); });
    }
    connect(TabSet1, &TTabSet::Click, this, [this] { TabSet1Click(); });
    connect(PageControl1, &TPageControl::Change, this, [this] { PageControl1Change(); });
    connect(PageControl1, &TPageControl::Enter, this, [this] { PageControl1Enter(); });
}

void TFormPadraoCfgTransHab::Cr_parceladoEstabClick()
{
    const bool Parcelado = Cr_parceladoEstab->Checked() || Cr_parceladoAdm->Checked();
    ParcelasC->SetEnabled(Parcelado);
    Label1->SetEnabled(Parcelado);
}

void TFormPadraoCfgTransHab::Cr_parceladoAdmClick()
{
    TFormPadraoCfgTransHab::Cr_parceladoEstabClick();
}

void TFormPadraoCfgTransHab::Conv_parceladaEstabClick()
{
    ParcelasCon->SetEnabled(Conv_parceladaEstab->Checked());
    Label6->SetEnabled(Conv_parceladaEstab->Checked());
}

void TFormPadraoCfgTransHab::Deb_preDataClick()
{
    for (QWidget* Controle : std::initializer_list<QWidget*>{PD_d, PD_m, PD_a, PP_d, PP_m, PP_a, Label3, Label5,
                                                             Label41, Label7, Label8, Label9})
        Controle->setEnabled(Deb_preData->Checked());
}

void TFormPadraoCfgTransHab::ParcelasCKeyPress(char& Key)
{
    SomenteNumeros(Key);
}

void TFormPadraoCfgTransHab::ParcelasConKeyPress(char& Key)
{
    SomenteNumeros(Key);
}

void TFormPadraoCfgTransHab::PD_dKeyPress(char& Key)
{
    SomenteNumeros(Key);
}

void TFormPadraoCfgTransHab::PD_dChange(TEdit* Sender)
{
    if (Sender->text().size() == Sender->maxLength() && Sender->maxLength() != 4)
        focusNextChild();
}

void TFormPadraoCfgTransHab::TabSet1Click()
{
    PageControl1->SetActivePageIndex(TabSet1->TabIndex());
}

void TFormPadraoCfgTransHab::PageControl1Change()
{
    const int Pagina = PageControl1->ActivePageIndex();
    if (TabSet1->count() > Pagina)
        TabSet1->SetTabIndex(Pagina);
    else
        PageControl1->SetActivePageIndex(TabSet1->TabIndex());
}

void TFormPadraoCfgTransHab::PageControl1Enter()
{
    std::string Texto = ComboBoxEmpresa->Text();
    if (TabCB.NivelUsuario != 2 && VerificaComboBoxEmpresa(Texto)) {
        if (!PageControl1->CanFocus())
            return;
        for (QObject* Filho : PageControl1->currentWidget()->children()) {
            auto* Caixa = dynamic_cast<TCheckBox*>(Filho);
            if (Caixa && Caixa->Visible()) {
                Caixa->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    } else if (TabSet1->count() == 1) {
        BitBtnRetornar->setFocus(Qt::OtherFocusReason);
    }
}

void TFormPadraoCfgTransHab::ComboBoxEmpresaKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_DELETE || ((Shift & ssCtrl) && Key == 'V')) {
        ComboBoxEmpresa->SetText("");
        Key = 0;
    }
    SoltaTeclaInsert();
}

void TFormPadraoCfgTransHab::DadosModificados(bool Valor)
{
    AplicaModificado(Valor, true);
}
