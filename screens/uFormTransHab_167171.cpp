#include "screens/uFormTransHab_167171.h"

#include "config/Kovan_INI.h"
#include "config/Lib.h"
#include "module/info.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/ComCtrls.h"
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "support/EventLog.h"
#include "support/Lib.h"

#include <QGuiApplication>

namespace {

constexpr const char* Secao = "TrnHabilitada";

const std::string TextoDebito = Utf8ParaCp1252("Débito");
const std::string TextoDebito2 = Utf8ParaCp1252("Débito2");
const std::string MsgInformeParcelas = Utf8ParaCp1252("Informe o número de parcelas.");
const std::string MsgParcelasInvalido = Utf8ParaCp1252("Número de parcelas inválido.");
const std::string MsgDesejaCancelar = Utf8ParaCp1252("Deseja cancelar as alterações ?");
const std::string MsgQualExcluir = Utf8ParaCp1252("Qual configuração deseja excluir ?");
const std::string MsgSeraExcluida = Utf8ParaCp1252("A configuração será excluída!");
const std::string MsgExcluirEmpresa = Utf8ParaCp1252("Deseja realmente excluir a configuração da empresa [");
const std::string MsgExcluirTodas = Utf8ParaCp1252("Deseja realmente excluir a configuração de Todas empresas ?");
const std::string LogTela = Utf8ParaCp1252("Mirabelo/Transações Habilitadas/");
const std::string LogExclusao = Utf8ParaCp1252(" - Opção Exclusão");
const std::string MsgExcluindo = Utf8ParaCp1252("Excluindo a configuração de todas as empresas...");

const char* Marca(bool Marcado)
{
    return Marcado ? "1" : "0";
}

} // namespace

TFormTransHab_167171::TFormTransHab_167171(QWidget* Owner) : TFormPadraoCfgTransHab(Owner)
{
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

    bool NadaGravado = false;
    {
        TKovanIni Ini(Raiz, "Mirabelo", EmpresaSelecionada);
        Ini.IniciaLote(); // the four keys from one parse of the file
        const std::string Vista = Ini.LeVar(Secao, "DebitoVista", "");
        NadaGravado = Vista.empty();
        if (!NadaGravado) {
            Cr_vista->SetChecked(Vista == "1");
            Cr_cancelamento->SetChecked(Ini.LeVar(Secao, "Cancelamento", "") == "1");
            Cr_parceladoEstab->SetChecked(Ini.LeVar(Secao, "ParceladoJurosEstabelecimento", "") == "1");
            ParcelasC->SetText(Ini.LeVar(Secao, "NumeroParcelas", ""));
        } else {
            Cr_vista->SetChecked(true);
            Cr_cancelamento->SetChecked(true);
            Cr_parceladoEstab->SetChecked(false);
        }
        // Cr_parceladoClick's marking of the screen as modified is undone at once below; going
        // through it would disable the focused company box for a moment and send the focus away.
        TFormPadraoCfgTransHab::Cr_parceladoEstabClick();
    }
    DadosModificados(false);
    // Never saved: the defaults above can be saved at once, and there is nothing to delete.
    if (NadaGravado) {
        BitBtnSalvar->SetEnabled(true);
        BitBtnExcluir->SetEnabled(false);
    }
}

void TFormTransHab_167171::BitBtnSalvarClick()
{
    TFormPadraoCfgTransHab::BitBtnSalvarClick();
    if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario))
        return;
    const std::string Parcelas = ParcelasC->Text();
    if (ParcelasC->Enabled() && Parcelas.empty()) {
        MessageBox(MsgInformeParcelas, TituloConfigurador, MB_OK | MB_ICONWARNING);
        return;
    }
    if (ParcelasC->Enabled() && (Parcelas == "0" || Parcelas == "00")) {
        MessageBox(MsgParcelasInvalido, TituloConfigurador, MB_OK | MB_ICONERROR);
        return;
    }
    Monta_Msg_Log("INCLUSAO", EmpresaSelecionada);
    {
        TKovanIni Ini(RaizServidor(), "Mirabelo", EmpresaSelecionada);
        Ini.IniciaLote(); // the four keys, in this order, reach the file in one replace
        Ini.GravaVar(Secao, "DebitoVista", Marca(Cr_vista->Checked()));
        Ini.GravaVar(Secao, "Cancelamento", Marca(Cr_cancelamento->Checked()));
        Ini.GravaVar(Secao, "ParceladoJurosEstabelecimento", Marca(Cr_parceladoEstab->Checked()));
        // Written also while the field is disabled: an empty or stale text is stored then.
        Ini.GravaVar(Secao, "NumeroParcelas", Parcelas);
        Ini.ConfirmaLote();
    }
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
        TKovanIni Ini(Raiz, "Mirabelo", EmpresaSelecionada);
        if (Ini.Existe()) {
            Monta_Msg_Log("EXCLUSAO", EmpresaSelecionada);
            Ini.RemoveSec(Secao);
            LimparTela();
        }
    } else {
        // Each company is audited and changed whole: stopping between two leaves every one as it should be.
        const std::vector<std::string> Empresas = ComboBoxEmpresa->Items();
        TProgresso Progresso(MsgExcluindo, static_cast<int>(Empresas.size()), true);
        int Feitas = 0;
        for (const std::string& Empresa : Empresas) {
            if (!Progresso.Avanca(Feitas++))
                break;
            TKovanIni Ini(Raiz, "Mirabelo", Empresa);
            if (Ini.Existe()) {
                Monta_Msg_Log("EXCLUSAO", Empresa);
                Ini.RemoveSec(Secao);
            }
        }
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
    std::string Linha = LogTela + Empresa;
    if (MaiusculasAscii(Operacao) == "INCLUSAO") {
        Linha += "\r\nDebVista: ";
        Linha += Marca(Cr_vista->Checked());
        Linha += "; DebParcAdm: ";
        Linha += Marca(Cr_parceladoAdm->Checked());
        Linha += "; DebParcEstab: ";
        Linha += Marca(Cr_parceladoEstab->Checked());
        Linha += "; DebCanc: ";
        Linha += Marca(Cr_cancelamento->Checked());
        Linha += "; DebNParc: " + ParcelasC->Text() + ";";
    } else {
        Linha += LogExclusao;
    }
    if (EvtLog)
        EvtLog->LogMsg(Linha, 4, 1);
}

const TFormClass ClasseFormTransHab_167171 = {
    "TFormTransHab_167171", [](QWidget* Owner) -> TForm* { return new TFormTransHab_167171(Owner); }};
