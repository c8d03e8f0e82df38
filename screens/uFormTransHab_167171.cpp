#include "screens/uFormTransHab_167171.h"

#include "config/TransHab.h"
#include "config/Lib.h"
#include "module/info.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/ComCtrls.h"
#include "runtime/Dialogs.h"
#include "runtime/StdCtrls.h"
#include "support/EventLog.h"
#include "support/Lib.h"

#include <QGuiApplication>

namespace {

const std::string TextoDebito = Utf8ParaCp1252("Débito");
const std::string TextoDebito2 = Utf8ParaCp1252("Débito2");
const std::string MsgDesejaCancelar = Utf8ParaCp1252("Deseja cancelar as alterações ?");
const std::string MsgQualExcluir = Utf8ParaCp1252("Qual configuração deseja excluir ?");
const std::string MsgSeraExcluida = Utf8ParaCp1252("A configuração será excluída!");
const std::string MsgExcluirEmpresa = Utf8ParaCp1252("Deseja realmente excluir a configuração da empresa [");
const std::string MsgExcluirTodas = Utf8ParaCp1252("Deseja realmente excluir a configuração de Todas empresas ?");
const std::string MsgExcluindo = Utf8ParaCp1252("Excluindo a configuração de todas as empresas...");

} // namespace

TFormTransHab_167171::TFormTransHab_167171(QWidget* Owner) : TFormPadraoCfgTransHab(Owner)
{
    NomeTela = Utf8ParaCp1252("Transações Habilitadas");
    TabCred->SetCaption(TextoDebito);
    TabDebt->SetCaption(TextoDebito2);
    PageControl1->SetBounds(107, 25, 623, 238);
    TabSet1->SetTabs({TextoDebito});
    TabSet1->SetTabIndex(-1);
    TabSet1->SetBounds(107, 240, 623, 23);
    BitBtnSalvar->move(475, BitBtnSalvar->y());
    // The keyboard's way round: the company, the page, its tab, then the buttons.
    int Ordem = 1;
    for (QWidget* W : std::initializer_list<QWidget*>{PageControl1, TabSet1, BitBtnSalvar, BitBtnCancelar, BitBtnRetornar,
                                                      BitBtnExcluir, GroupBoxEmpresa})
        DefineOrdemTab(W, Ordem++);
    Cr_parceladoEstab->SetEnabled(false);
    Cr_parceladoAdm->SetEnabled(false);

    // The base layout binds no click of these two boxes, no change of ParcelasC and no entry of the tab
    // set: this layout binds them, once.
    for (TCheckBox* Caixa : {Cr_vista, Cr_cancelamento})
        connect(Caixa, &TCheckBox::Click, this, [this] { Cr_cancelamentoClick(); });
    connect(ParcelasC, &TEdit::Change, this, [this] { ParcelasCChange(); });
    connect(TabSet1, &TTabSet::Enter, this, [this] { TabSet1Enter(); });
}

void TFormTransHab_167171::FormShow()
{
    TFormPadraoCfgTransHab::FormShow();
    PageControl1->SetActivePageIndex(0);
    TabSet1->SetTabIndex(0);
    ComboBoxEmpresaChange();
}

void TFormTransHab_167171::ComboBoxEmpresaChange()
{
    TFormPadraoCfgTransHab::ComboBoxEmpresaChange();
    Cr_parceladoAdm->SetEnabled(false);

    const std::string Raiz = RaizServidor();
    const std::string Texto = ComboBoxEmpresa->Text();
    if (!ExisteEmpresa(Raiz, Texto) || !VerificaComboBoxEmpresa(Texto))
        return;

    const TCargaTransHab Carga = CarregaTransHab(Raiz, EmpresaSelecionada);
    const bool NadaGravado = !Carga.Configurada;
    Cr_vista->SetChecked(Carga.Valores.DebitoVista);
    Cr_cancelamento->SetChecked(Carga.Valores.Cancelamento);
    Cr_parceladoEstab->SetChecked(Carga.Valores.ParceladoJurosEstabelecimento);
    if (!NadaGravado) // the defaults leave the count as it is
        ParcelasC->SetText(Carga.Valores.NumeroParcelas);
    // Cr_parceladoClick's marking of the screen as modified is undone at once below; going through it
    // would disable the focused company box for a moment and send the focus away.
    TFormPadraoCfgTransHab::Cr_parceladoEstabClick();
    DadosModificados(false);
    // Never saved: the defaults above can be saved at once, and there is nothing to delete.
    if (NadaGravado) {
        BitBtnSalvar->SetEnabled(true);
        BitBtnExcluir->SetEnabled(false);
        AplicaRestricoes(); // not for a viewer
    }
}

void TFormTransHab_167171::BitBtnSalvarClick()
{
    TFormPadraoCfgTransHab::BitBtnSalvarClick();
    if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario))
        return;
    const TTransHab Valores = Tela();
    if (const std::optional<TErroTransHab> Erro = RegrasTransHab::Valida(Valores, ParcelasC->Enabled())) {
        MessageBox(RegrasTransHab::Mensagem(*Erro), TituloConfigurador,
                   MB_OK | (*Erro == TErroTransHab::InformeParcelas ? MB_ICONWARNING : MB_ICONERROR));
        return;
    }
    // The audit entry first, then the four keys in one replace; the count also while its field is
    // disabled (an empty or stale text is stored then).
    SalvaTransHab(RaizServidor(), EmpresaSelecionada, Valores, Auditoria(EmpresaSelecionada),
                  Cr_parceladoAdm->Checked());
    DadosModificados(false);
}

void TFormTransHab_167171::BitBtnCancelarClick()
{
    TFormPadraoCfgTransHab::BitBtnCancelarClick();
    if (MessageBox(MsgDesejaCancelar, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
        ComboBoxEmpresaChange();
}

void TFormTransHab_167171::BitBtnExcluirClick()
{
    const TTabCallBack Tabela = TabCB;
    if (!VerPrivilegioEx(Application(), 4, Tabela.NivelUsuario))
        return;

    const std::string Raiz = RaizServidor();
    const bool OfereceTodas = KovanMultiEmpresa(Raiz) && ModoHost != "8";
    const int Resposta =
        OfereceTodas ? CaixaDlgMensagemEx(TituloConfigurador, MsgQualExcluir, {"Atual", "Todas", "Cancelar"}, 3)
                     : CaixaDlgMensagemEx(TituloConfigurador, MsgSeraExcluida, {"Continuar", "Cancelar"}, 2);
    std::string Confirmacao;
    if (Resposta == 1)
        Confirmacao = MsgExcluirEmpresa + EmpresaSelecionada + "] ?";
    else if (Resposta == 2 && OfereceTodas)
        Confirmacao = MsgExcluirTodas;
    else
        return;
    if (MessageBox(Confirmacao, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;

    TFormPadraoCfgTransHab::BitBtnExcluirClick();
    if (Resposta == 1) {
        if (ApagaTransHab(Raiz, EmpresaSelecionada, Auditoria(EmpresaSelecionada)))
            LimparTela();
    } else {
        // Each company is audited and changed whole: stopping between two leaves every one as it should be.
        PercorreEmpresas(MsgExcluindo, [&](const std::string& Empresa) {
            ApagaTransHab(Raiz, Empresa, Auditoria(Empresa));
            return true;
        });
        LimparTela();
    }
    DadosModificados(false);
}

void TFormTransHab_167171::Cr_parceladoEstabClick()
{
    Cr_parceladoClick();
}

void TFormTransHab_167171::Cr_parceladoAdmClick()
{
    Cr_parceladoClick();
}

void TFormTransHab_167171::Cr_parceladoClick()
{
    TFormPadraoCfgTransHab::Cr_parceladoEstabClick();
    DadosModificados(true);
}

void TFormTransHab_167171::Cr_cancelamentoClick()
{
    DadosModificados(true);
}

void TFormTransHab_167171::ParcelasCChange()
{
    DadosModificados(true);
}

void TFormTransHab_167171::TabSet1Enter()
{
    // A click on the tab sends the focus to the page; Tab goes on past the tab set to the buttons, or
    // the keyboard would go round in circles.
    if (TabSet1->CanFocus() && QGuiApplication::mouseButtons() != Qt::NoButton)
        Cr_vista->setFocus(Qt::TabFocusReason);
}

void TFormTransHab_167171::LimparTela()
{
    Cr_vista->SetChecked(false);
    Cr_cancelamento->SetChecked(false);
    Cr_parceladoEstab->SetChecked(false);
    ParcelasC->SetText("");
    // The installment count follows its boxes again: closed now that none is checked.
    TFormPadraoCfgTransHab::Cr_parceladoEstabClick();
}

void TFormTransHab_167171::Monta_Msg_Log(const std::string& Operacao, const std::string& Empresa)
{
    Auditoria(Empresa)(RegrasTransHab::MontaLog(Operacao, Empresa, Tela(), Cr_parceladoAdm->Checked()));
}

TTransHab TFormTransHab_167171::Tela() const
{
    return {Cr_vista->Checked(), Cr_cancelamento->Checked(), Cr_parceladoEstab->Checked(), ParcelasC->Text()};
}

TAuditoria TFormTransHab_167171::Auditoria(const std::string& Empresa)
{
    return [this, Empresa](const std::string& Texto) {
        if (EvtLog)
            EvtLog->LogMsg(Texto, 4, 1, Empresa);
    };
}

const TFormClass ClasseFormTransHab_167171 = {
    "TFormTransHab_167171", [](QWidget* Owner) -> TForm* { return new TFormTransHab_167171(Owner); }};
