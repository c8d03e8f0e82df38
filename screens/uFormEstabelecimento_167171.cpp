#include "screens/uFormEstabelecimento_167171.h"

#include "config/Kovan_INI.h"
#include "config/Lib.h"
#include "module/info.h"
#include "platform/Ascii.h"
#include "runtime/Application.h"
#include "runtime/ComCtrls.h"
#include "runtime/Dialogs.h"
#include "runtime/StdCtrls.h"
#include "support/EventLog.h"
#include "support/Lib.h"

#include <QLineEdit>

namespace {

const char* const SecaoGeral = "Geral";
const char* const ChaveCodigo = "CodigoEstabelecimento";
const char* const NomeModulo = "Mirabelo";
const char* const MsgVerificandoCodigos = "Verificando os c\xF3""digos das outras empresas...";
const char* const MsgExcluindo = "Excluindo a configura\xE7\xE3o de todas as empresas...";

void Notifica(std::int32_t Codigo, std::string Texto)
{
    CallBack(0, Codigo, Texto.data());
}

} // namespace

TFormEstabelecimento_167171::TFormEstabelecimento_167171(QWidget* Owner) : TFormPadraoCfgEstab(Owner)
{
    setObjectName("FormEstabelecimento_167171");
    SetCaption("Estabelecimento");
    NomeTela = "Estabelecimento";
    for (QWidget* W : std::initializer_list<QWidget*>{this, PageControlEstab, Label2, ComboBoxEmpresa, BitBtnSalvar,
                                                      BitBtnCancelar, BitBtnRetornar, BitBtnExcluir})
        DefineFonte(W, "Arial", 14);
    ComboBoxEmpresa->resize(ComboBoxEmpresa->width(), 22);
    for (TBitBtn* Botao : {BitBtnSalvar, BitBtnCancelar, BitBtnRetornar, BitBtnExcluir})
        Botao->move(Botao->x(), 303);

    Label1 = new TLabel(TabSheet1);
    Label1->SetName("Label1");
    Label1->SetCaption("C\xF3""digo de Estabelecimento:");
    Label1->SetAutoSize(false);
    Label1->SetBounds(128, 30, 137, 13);
    Label1->SetFont("Arial", -11);
    Label1->SetFontColor(Qt::black);

    EditCodigoEstab = new TEdit(TabSheet1);
    EditCodigoEstab->SetName("EditCodigoEstab");
    EditCodigoEstab->SetBounds(271, 27, 130, 22);
    EditCodigoEstab->SetMaxLength(15);
    EditCodigoEstab->SetFont("Arial", -11);
    EditCodigoEstab->SetFontColor(Qt::black);

    EditCodigoEstab->SetTabOrder(1);
    BitBtnSalvar->SetTabOrder(2);
    BitBtnCancelar->SetTabOrder(3);
    BitBtnRetornar->SetTabOrder(4);
    GroupBoxEmpresa->SetTabOrder(5);
    BitBtnExcluir->SetTabOrder(6);

    connect(EditCodigoEstab, &TEdit::Enter, this, [this] { EditCodigoEstabEnter(); });
    connect(EditCodigoEstab, &TEdit::Exit, this, [this] { EditCodigoEstabExit(); });
    connect(EditCodigoEstab, &TEdit::KeyPress, this, [this](char& Key) { EditCodigoEstabKeyPress(Key); });
    // Forward Delete, a cut or an undo change the code without a typed character: unsaved all the same.
    connect(EditCodigoEstab, &TEdit::Change, this, [this] { DadosModificados(true); });
}

void TFormEstabelecimento_167171::FormShow()
{
    TFormPadraoCfgEstab::FormShow();
    ComboBoxEmpresaChange();
    DadosModificados(false);
    ComboBoxEmpresa->setFocus();
    const bool Permitido = VerPrivilegio(4, TabCB.NivelUsuario);
    for (TEdit* Edit : findChildren<TEdit*>())
        Edit->SetEnabled(Permitido);
    for (TCheckBox* Marca : findChildren<TCheckBox*>())
        Marca->SetEnabled(Permitido);
}

void TFormEstabelecimento_167171::ComboBoxEmpresaChange()
{
    TFormPadraoCfgEstab::ComboBoxEmpresaChange();
    const std::string Texto = ComboBoxEmpresa->Text();
    const std::string Raiz = RaizServidor();
    if (ExisteEmpresa(Raiz, Texto) && VerificaComboBoxEmpresa(Texto)) {
        {
            TKovanIni Ini(Raiz, NomeModulo, EmpresaSelecionada);
            EditCodigoEstab->SetText(Ini.LeVar(SecaoGeral, ChaveCodigo, ""));
        }
        DadosModificados(false);
    }
}

void TFormEstabelecimento_167171::ComboBoxEmpresaEnter()
{
    TFormPadraoCfgEstab::ComboBoxEmpresaEnter();
    Notifica(100, "Selecione a empresa para configurar.");
}

void TFormEstabelecimento_167171::ComboBoxEmpresaExit()
{
    TFormPadraoCfgEstab::ComboBoxEmpresaExit();
    Notifica(100, "");
}

void TFormEstabelecimento_167171::EditCodigoEstabEnter()
{
    Notifica(100, "Digite o c\xF3""digo de estabelecimento para a empresa.");
}

void TFormEstabelecimento_167171::EditCodigoEstabExit()
{
    if (!EditCodigoEstab->Text().empty())
        EditCodigoEstab->SetText(CompletaZero(EditCodigoEstab->Text()));
    Notifica(100, "");
}

void TFormEstabelecimento_167171::EditCodigoEstabKeyPress(char& Key)
{
    SomenteLetrasNumeros(Key);
    // Only a key that changes the text makes the screen modified: Tab, Enter and Esc do not.
    if (Key != '\0' && Key != 9 && Key != 10 && Key != 13 && Key != 27)
        DadosModificados(true);
}

void TFormEstabelecimento_167171::DadosModificados(bool Valor)
{
    AplicaModificado(Valor, true);
}

void TFormEstabelecimento_167171::Monta_Msg_Log(const std::string& Tipo, const std::string& Empresa)
{
    std::string Linha = "Mirabelo/Estabelecimento/" + Empresa;
    if (MaiusculasAscii(Tipo) == "INCLUSAO")
        Linha += "\r\nEstab: " + EditCodigoEstab->Text();
    else
        Linha += " - Op\xE7\xE3o Exclus\xE3o";
    if (EvtLog)
        EvtLog->LogMsg(Linha, 4, 1, Empresa);
}

bool TFormEstabelecimento_167171::ExistCodigoEstab(const std::string& Empresa, const std::string& Codigo)
{
    if (Apara(Codigo).empty())
        return false;
    const std::string Raiz = RaizServidor();
    const std::string Procurado = MinusculasAscii(Codigo);
    // Stopping the check stops the save: the code counts as used until every company was read.
    bool Usado = false;
    const bool Lidas = PercorreEmpresas(MsgVerificandoCodigos, [&](const std::string& Item) {
        TKovanIni Ini(Raiz, NomeModulo, Item);
        Usado = Item != Empresa && MinusculasAscii(Ini.LeVar(SecaoGeral, ChaveCodigo, "")) == Procurado;
        return !Usado;
    });
    return Usado || !Lidas;
}

void TFormEstabelecimento_167171::BitBtnSalvarClick()
{
    TFormPadraoCfgEstab::BitBtnSalvarClick();
    if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario))
        return;
    const std::string Raiz = RaizServidor();
    const std::string Codigo = EditCodigoEstab->Text();
    auto Recusa = [this](const char* Texto) {
        MessageBox(Texto, TituloConfigurador, MB_OK | MB_ICONWARNING);
        if (EditCodigoEstab->Enabled())
            EditCodigoEstab->setFocus();
    };
    if (!PermiteDuplicidadeEstabelecimento(Raiz) && ExistCodigoEstab(EmpresaSelecionada, Codigo)) {
        Recusa("Esse c\xF3""digo de estabelecimento j\xE1 est\xE1 sendo usado por outra empresa.");
        return;
    }
    if (Codigo.empty()) {
        Recusa("C\xF3""digo de Estabelecimento inv\xE1lido.");
        return;
    }
    Monta_Msg_Log("INCLUSAO", EmpresaSelecionada);
    {
        TKovanIni Ini(Raiz, NomeModulo, EmpresaSelecionada);
        Ini.GravaVar(SecaoGeral, ChaveCodigo, Codigo);
    }
    ComboBoxEmpresaChange();
    DadosModificados(false);
}

void TFormEstabelecimento_167171::BitBtnCancelarClick()
{
    TFormPadraoCfgEstab::BitBtnCancelarClick();
    if (Modificado && MessageBox("Deseja cancelar as altera\xE7\xF5""es ?", TituloConfigurador,
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    ComboBoxEmpresaChange();
}

void TFormEstabelecimento_167171::BitBtnExcluirClick()
{
    if (!VerPrivilegioEx(Application(), 4, TabCB.NivelUsuario))
        return;
    const std::string Raiz = RaizServidor();
    const bool TodasOferecidas = KovanMultiEmpresa(Raiz) && ModoHost != "8";
    const std::vector<std::string> Botoes = TodasOferecidas ? std::vector<std::string>{"Atual", "Todas", "Cancelar"}
                                                            : std::vector<std::string>{"Continuar", "Cancelar"};
    const int Resposta = CaixaDlgMensagemEx(TituloConfigurador,
                                            TodasOferecidas ? "Qual configura\xE7\xE3o deseja excluir ?"
                                                            : "A configura\xE7\xE3o ser\xE1 exclu\xED""da!",
                                            Botoes, static_cast<std::int32_t>(Botoes.size()));
    std::string Confirmacao;
    if (Resposta == 1)
        Confirmacao = "Deseja realmente excluir a configura\xE7\xE3o da empresa [" + EmpresaSelecionada + "] ?";
    else if (Resposta == 2 && TodasOferecidas)
        Confirmacao = "Deseja realmente excluir a configura\xE7\xE3o de Todas empresas ?";
    else
        return;
    if (MessageBox(Confirmacao, TituloConfigurador, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;

    if (Resposta == 1) {
        Monta_Msg_Log("EXCLUSAO", EmpresaSelecionada);
        TKovanIni Ini(Raiz, NomeModulo, EmpresaSelecionada);
        Ini.RemoveSec(SecaoGeral);
    } else {
        // Each company is audited and changed whole: stopping between two leaves every one as it should be.
        PercorreEmpresas(MsgExcluindo, [&](const std::string& Empresa) {
            TKovanIni Ini(Raiz, NomeModulo, Empresa);
            if (Ini.ExisteSetor(SecaoGeral)) {
                Monta_Msg_Log("EXCLUSAO", Empresa);
                Ini.RemoveSec(SecaoGeral);
            }
            return true;
        });
    }
    ComboBoxEmpresaChange();
}

const TFormClass ClasseFormEstabelecimento_167171 = {
    "TFormEstabelecimento_167171", [](QWidget* Owner) -> TForm* { return new TFormEstabelecimento_167171(Owner); }};
