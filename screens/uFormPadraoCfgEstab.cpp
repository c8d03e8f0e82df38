#include "screens/uFormPadraoCfgEstab.h"

#include "config/CacheEmpresas.h"
#include "config/Lib.h"
#include "db/ApiBanco.h"
#include "module/info.h"
#include "platform/Ascii.h"
#include "runtime/Application.h"
#include "runtime/ComCtrls.h"
#include "runtime/Dialogs.h"
#include "runtime/Grids.h"
#include "runtime/StdCtrls.h"
#include "support/ConfigComponentes.h"
#include "support/EventLog.h"
#include "support/msgmodulos.h"

#include <QPalette>

namespace {

// Numbers of the messages this screen shows.
namespace Msg {
constexpr int Atencao = 8;
constexpr int DesejaSairSemSalvar = 123;
constexpr int CodEmpNaoCadastrado = 178;
constexpr int CodEmpNumDigitoErrado = 179;
constexpr int Sim = 219;
constexpr int Nao = 220;
constexpr int EmpTODAS = 250;
constexpr int SelecEmpConfigurar = 389;
constexpr int HintCodigoEmpresa = 542;
constexpr int CodGrpNumDigitoErrado = 719;
constexpr int CodGrupoNaoCadastrado = 743;
} // namespace Msg

// The network code under which the group database knows this module.
constexpr std::int32_t RedeGrupos = 171;

struct TEstadoUnidade {
    std::int32_t vEmpTODAS = -1;
    std::unique_ptr<TInternacional> ConfigComp;
    std::vector<std::string> lstEmp;
    std::vector<std::string> lstGrup;
    bool IniciandoRB = false;
    std::string Selecao = "1";
    std::string TrataGrupos = "0";
    bool DropDown = true;
    bool FormUsaGrupos = false;
};

TEstadoUnidade& Unidade()
{
    static TEstadoUnidade Estado;
    return Estado;
}

// Notification Codigo with Texto. For the codes with a reply the host writes over Texto's characters,
// never more of them, and Texto keeps its length.
void Troca(std::int32_t Codigo, std::string& Texto)
{
    std::string Copia = Texto;
    CallBack(0, Codigo, Copia.data());
    Texto.assign(Copia.data(), Texto.size());
}

void Notifica(std::int32_t Codigo, std::string Texto)
{
    CallBack(0, Codigo, Texto.data());
}

bool ComecaSemCaixa(const std::string& Texto, const std::string& Inicio)
{
    return Texto.size() >= Inicio.size() && IguaisSemCaixa(std::string_view(Texto).substr(0, Inicio.size()), Inicio);
}

// The company list is read again on every keystroke: through the cache, which answers what a fresh
// read of the folder would.
std::vector<std::string> LeListaEmpresas(const std::string& Raiz)
{
    std::vector<std::string> Lista;
    LerEmpresasCache(Raiz, Lista);
    return Lista;
}

std::vector<std::string> LeListaGrupos()
{
    std::vector<std::string> Lista;
    RetornaGrupos(Lista);
    return Lista;
}

} // namespace

std::int32_t vEmpTODAS() noexcept { return Unidade().vEmpTODAS; }
const std::string& Selecao() noexcept { return Unidade().Selecao; }
const std::string& TrataGrupos() noexcept { return Unidade().TrataGrupos; }
bool DropDown() noexcept { return Unidade().DropDown; }
bool FormUsaGrupos() noexcept { return Unidade().FormUsaGrupos; }
void DefineFormUsaGrupos(bool Valor) noexcept { Unidade().FormUsaGrupos = Valor; }
TInternacional* ConfigComp() noexcept { return Unidade().ConfigComp.get(); }
const std::vector<std::string>& lstEmp() noexcept { return Unidade().lstEmp; }
const std::vector<std::string>& lstGrup() noexcept { return Unidade().lstGrup; }

TFormPadraoCfgEstab::TFormPadraoCfgEstab(QWidget* Owner) : TForm(Owner)
{
    setObjectName("FormPadraoCfgEstab");
    SetCaption("FormPadraoCfgEstab");
    DefineFonte(this, "MS Sans Serif", -11);
    SetClientSize(757, 373);

    PageControlEstab = new TPageControl(this);
    PageControlEstab->SetName("PageControlEstab");
    PageControlEstab->setGeometry(0, 0, 757, 373);
    PageControlEstab->SetAnchors(akLeft | akTop | akRight | akBottom);
    PageControlEstab->SetTabStop(false);

    TabSheet1 = new TTabSheet(PageControlEstab);
    TabSheet1->SetName("TabSheet1");
    TabSheet1->SetCaption("TabSheet1");

    Label2 = new TLabel(TabSheet1);
    Label2->SetName("Label2");
    Label2->SetCaption("Empresa");
    Label2->move(11, 11);

    ComboBoxEmpresa = new TComboBox(TabSheet1);
    ComboBoxEmpresa->SetName("ComboBoxEmpresa");
    ComboBoxEmpresa->SetBounds(11, 27, 86, 21);
    ComboBoxEmpresa->SetMaxLength(8);
    ComboBoxEmpresa->SetTabOrder(0);

    GroupBoxEmpresa = new TGroupBox(TabSheet1);
    GroupBoxEmpresa->SetName("GroupBoxEmpresa");
    GroupBoxEmpresa->SetBounds(11, 1, 158, 25);
    GroupBoxEmpresa->SetTabOrder(5);
    RBEmpresa = new TRadioButton(GroupBoxEmpresa);
    RBEmpresa->SetName("RBEmpresa");
    RBEmpresa->SetCaption("Empresa");
    RBEmpresa->SetBounds(3, 8, 70, 17);
    RBEmpresa->SetChecked(true);
    RBGrupo = new TRadioButton(GroupBoxEmpresa);
    RBGrupo->SetName("RBGrupo");
    RBGrupo->SetCaption("Grupo");
    RBGrupo->SetBounds(84, 8, 70, 17);

    auto CriaBotao = [this](const char* Nome, const char* Legenda, int Esquerda, int Ordem, TAnchors Ancoras) {
        auto* Botao = new TBitBtn(TabSheet1);
        Botao->SetName(Nome);
        Botao->SetCaption(Legenda);
        Botao->SetBounds(Esquerda, 304, 75, 25);
        Botao->SetTabOrder(Ordem);
        Botao->SetAnchors(Ancoras);
        return Botao;
    };
    BitBtnSalvar = CriaBotao("BitBtnSalvar", "&Salvar", 476, 1, akRight | akBottom);
    BitBtnCancelar = CriaBotao("BitBtnCancelar", "&Cancelar", 565, 2, akRight | akBottom);
    BitBtnRetornar = CriaBotao("BitBtnRetornar", "&Retornar", 655, 3, akRight | akBottom);
    BitBtnExcluir = CriaBotao("BitBtnExcluir", "&Excluir", 11, 4, akLeft | akBottom);
    BitBtnRetornar->SetCancel(true);

    ConectaEventos();
}

TFormPadraoCfgEstab::~TFormPadraoCfgEstab()
{
    // Deleting the children moves the focus, which would raise Exit into a screen already half gone.
    for (QObject* Controle : findChildren<QObject*>())
        QObject::disconnect(Controle, nullptr, this, nullptr);
}

void TFormPadraoCfgEstab::ConectaEventos()
{
    connect(ComboBoxEmpresa, &TComboBox::Change, this, [this] { ComboBoxEmpresaChange(); });
    connect(ComboBoxEmpresa, &TComboBox::CloseUp, this, [this] { ComboBoxEmpresaCloseUp(); });
    connect(ComboBoxEmpresa, &TComboBox::Enter, this, [this] { ComboBoxEmpresaEnter(); });
    connect(ComboBoxEmpresa, &TComboBox::Exit, this, [this] { ComboBoxEmpresaExit(); });
    connect(ComboBoxEmpresa, &TComboBox::KeyDown, this,
            [this](Word& Key, TShiftState Shift) { ComboBoxEmpresaKeyDown(Key, Shift); });
    connect(ComboBoxEmpresa, &TComboBox::KeyPress, this, [this](char& Key) { ComboBoxEmpresaKeyPress(Key); });
    connect(RBEmpresa, &TRadioButton::Click, this, [this] { RBEmpresaClick(); });
    connect(RBGrupo, &TRadioButton::Click, this, [this] { RBGrupoClick(); });
    connect(BitBtnSalvar, &TBitBtn::Click, this, [this] { BitBtnSalvarClick(); });
    connect(BitBtnCancelar, &TBitBtn::Click, this, [this] { BitBtnCancelarClick(); });
    connect(BitBtnRetornar, &TBitBtn::Click, this, [this] { BitBtnRetornarClick(); });
    connect(BitBtnExcluir, &TBitBtn::Click, this, [this] { BitBtnExcluirClick(); });
}

std::string TFormPadraoCfgEstab::RaizServidor() const
{
    return LerRaizPathKovan(Application().ExeName());
}

bool TFormPadraoCfgEstab::EhTodas(const std::string& Texto)
{
    return IguaisSemCaixa(Texto, LeMensagens(Msg::EmpTODAS));
}

bool TFormPadraoCfgEstab::ModoGrupo() const
{
    return RBGrupo->Checked();
}

void TFormPadraoCfgEstab::TrataMensagem(int Mensagem)
{
    if (Mensagem == WM_AFTERSHOW)
        WmAfterShow();
    else if (Mensagem == WM_HACKBOX)
        WMHackBox();
    else
        TForm::TrataMensagem(Mensagem);
}

void TFormPadraoCfgEstab::FormCreate()
{
    IniciaTraducao(Unidade().ConfigComp, *this);
    EvtLog = std::make_unique<TEvtLog>(Application().Title, Application().ExeName(), NomeTela);
    // Form scaling: Qt lays the form out in device-independent pixels already.
    EmpresaSelecionada = "00000000";
    ModoHost = "0";
    Troca(501, ModoHost);
    TEstadoUnidade& U = Unidade();
    U.Selecao = "1";
    U.TrataGrupos = "0";
    U.DropDown = true;
    U.vEmpTODAS = -1;
    U.FormUsaGrupos = false;
}

void TFormPadraoCfgEstab::FormShow()
{
    TEstadoUnidade& U = Unidade();
    const std::string Raiz = RaizServidor();
    CarregaMsg();
    ComboBoxEmpresa->SetHint(LeMensagens(Msg::HintCodigoEmpresa));
    ComboBoxEmpresa->SetEnabled(true);

    CursorSalvo = Screen().Cursor();
    Screen().SetCursor(crHourGlass);

    const bool BancoAberto = InicializaVerificaBanco(Raiz + "\\Config");
    GroupBoxEmpresa->SetVisible(BancoAberto && GrupoHabilitado(RedeGrupos) && U.FormUsaGrupos);

    Troca(301, EmpresaSelecionada);
    if (Apara(EmpresaSelecionada).size() == 8)
        EmpresaSelecionada = EmpresaSelecionada.substr(0, 8);
    else
        EmpresaSelecionada = "00000000";

    for (int P = 0; P < PageControlEstab->PageCount(); ++P)
        PageControlEstab->Pages(P)->SetTabVisible(false);
    ComboBoxEmpresa->Clear();
    PageControlEstab->SetActivePageIndex(0);

    std::vector<std::string> Trabalho;
    U.lstGrup.clear();
    U.lstEmp.clear();

    Notifica(509, "1");
    Troca(510, U.TrataGrupos);
    Troca(507, U.Selecao);

    if (U.Selecao == "0" && PodeUsarBanco && U.FormUsaGrupos)
        Troca(506, EmpresaSelecionada);
    else
        Troca(301, EmpresaSelecionada);

    if (KovanMultiEmpresa(Raiz)) {
        const bool GrupoNaAbertura = U.Selecao == "0" && U.FormUsaGrupos;
        U.lstEmp = LeListaEmpresas(Raiz);
        if (GroupBoxEmpresa->Visible())
            RetornaGrupos(U.lstGrup);
        Trabalho = GrupoNaAbertura ? U.lstGrup : U.lstEmp;
        ExistemEmpresas = Trabalho.empty() ? "NAO" : "SIM";
        PreencheCaixa(Trabalho);

        const bool EmpresaPermitida = U.Selecao == "1" || !U.FormUsaGrupos;
        if (GrupoNaAbertura && !EmpresaSelecionada.empty())
            EmpresaSelecionada = EmpresaSelecionada.substr(0, 6);
        else if (Apara(EmpresaSelecionada).size() == 8 && VerificaComboBoxEmpresa(EmpresaSelecionada) && EmpresaPermitida)
            EmpresaSelecionada = EmpresaSelecionada.substr(0, 8);
        else
            EmpresaSelecionada = ComboBoxEmpresa->Item(0);

        if (ComboBoxEmpresa->ItemCount() > 0) {
            if ((ExisteEmpresa(Raiz, EmpresaSelecionada) && EmpresaPermitida) ||
                (ExisteGrupo(EmpresaSelecionada) && U.Selecao == "0") || EmpresaSelecionada.empty())
                ComboBoxEmpresa->SetText(EmpresaSelecionada);
            else
                ComboBoxEmpresa->SetItemIndex(0);
        }

        U.IniciandoRB = true;
        RBGrupo->SetChecked(GrupoNaAbertura);
        RBEmpresa->SetChecked(!GrupoNaAbertura);
        U.IniciandoRB = false;
    } else {
        ComboBoxEmpresa->AddItem("00000000");
        EmpresaSelecionada = "00000000";
    }

    if (!Trabalho.empty() || ComboBoxEmpresa->ItemCount() > 0)
        ComboBoxEmpresa->SetText(EmpresaSelecionada);

    Notifica(1, "");
    if (ComboBoxEmpresa->Visible())
        ComboBoxEmpresa->SetFocus();
    Screen().SetCursor(CursorSalvo);
    PostMessage(WM_AFTERSHOW);
}

void TFormPadraoCfgEstab::PreencheCaixa(const std::vector<std::string>& Lista)
{
    std::vector<std::string> Itens;
    Itens.reserve(Lista.size() + 1);
    if (Unidade().vEmpTODAS == 1)
        Itens.push_back(LeMensagens(Msg::EmpTODAS));
    Itens.insert(Itens.end(), Lista.begin(), Lista.end());
    ComboBoxEmpresa->SetItems(Itens);
}

bool TFormPadraoCfgEstab::SomenteVisualiza() const
{
    return ModoHost == "2" || !VerPrivilegio(4, TabCB.NivelUsuario);
}

void TFormPadraoCfgEstab::AplicaRestricoes()
{
    if (ModoHost == "8")
        ComboBoxEmpresa->SetEnabled(false);
    if (SomenteVisualiza())
        for (TBitBtn* Botao : {BitBtnSalvar, BitBtnCancelar, BitBtnExcluir})
            Botao->SetEnabled(false);
}

bool TFormPadraoCfgEstab::PercorreEmpresas(const std::string& Texto,
                                           const std::function<bool(const std::string&)>& Acao)
{
    const std::vector<std::string> Empresas = ComboBoxEmpresa->Items();
    TProgresso Progresso(Texto, static_cast<int>(Empresas.size()), true);
    for (std::size_t I = 0; I < Empresas.size(); ++I)
        if (!Progresso.Avanca(static_cast<int>(I)) || !Acao(Empresas[I]))
            return false;
    return true;
}

void TFormPadraoCfgEstab::WmAfterShow()
{
    if (SomenteVisualiza())
        Habilitar(false, PageControlEstab);
    AplicaRestricoes();
}

void TFormPadraoCfgEstab::ComboBoxEmpresaChange()
{
    TEstadoUnidade& U = Unidade();
    const std::string Raiz = RaizServidor();
    std::string Texto = ComboBoxEmpresa->Text();
    EmpresaDigitada = Texto;
    if (U.vEmpTODAS == -1)
        U.vEmpTODAS = ComboBoxEmpresa->ItemCount() > 0 && EhTodas(ComboBoxEmpresa->Item(0)) ? 1 : 0;

    const bool Grupo = ModoGrupo();
    const bool Incompleto = Texto.size() < (Grupo ? 6u : 8u);
    if (Incompleto && !VerificaComboBoxEmpresa(Texto) && !EhTodas(Texto)) {
        // Still typing: the list shows the entries that begin with what was typed.
        const bool MexeLista = U.DropDown && !U.IniciandoRB;
        if (Texto.empty()) {
            if (MexeLista)
                ComboBoxEmpresa->SetDroppedDown(false);
            PreencheCaixa(Grupo ? LeListaGrupos() : LeListaEmpresas(Raiz));
        } else {
            const int Antes = ComboBoxEmpresa->ItemCount();
            std::vector<std::string> Trabalho = Grupo ? LeListaGrupos() : LeListaEmpresas(Raiz);
            if (U.vEmpTODAS == 1)
                Trabalho.insert(Trabalho.begin(), LeMensagens(Msg::EmpTODAS));
            std::vector<std::string> Filtrada;
            for (const std::string& Item : Trabalho)
                if (ComecaSemCaixa(Item, Texto))
                    Filtrada.push_back(Item);
            ComboBoxEmpresa->SetItems(Filtrada);
            if (ComboBoxEmpresa->ItemCount() != Antes)
                ComboBoxEmpresa->SetDroppedDown(false);
        }
        if (MexeLista)
            ComboBoxEmpresa->SetDroppedDown(true);
        ComboBoxEmpresa->SetText(Texto);
        ComboBoxEmpresa->SetSelStart(static_cast<int>(Texto.size()));
        Habilitar(false, PageControlEstab);
    } else if (ExisteEmpresa(Raiz, Texto) || ExisteGrupo(Texto) || (EhTodas(Texto) && U.vEmpTODAS == 1)) {
        ComboBoxEmpresa->SetDroppedDown(false);
        if (!(Grupo && U.FormUsaGrupos))
            PreencheCaixa(LeListaEmpresas(Raiz));
        // Entries are unique without regard to case, so the exact entry, if any, is the one IndexOf finds.
        const int Indice = ComboBoxEmpresa->IndexOf(Texto);
        if (Indice >= 0 && ComboBoxEmpresa->Item(Indice) == Texto) {
            ComboBoxEmpresa->SetItemIndex(Indice);
            ComboBoxEmpresa->SetText(Texto);
        }
        ComboBoxEmpresa->SetSelStart(static_cast<int>(Texto.size()));
        Notifica(509, "1");
        Notifica(508, Grupo ? "0" : "1");
        Habilitar(true, PageControlEstab);
        Notifica(Grupo ? 505 : 300, Texto);
    } else {
        if (!Grupo) {
            MessageBox(LeMensagens(Msg::CodEmpNaoCadastrado), TituloConfigurador, MB_OK | MB_ICONERROR);
            const std::vector<std::string> Trabalho = LeListaEmpresas(Raiz);
            ExistemEmpresas = Trabalho.empty() ? "NAO" : "SIM";
            if (ExistemEmpresas == "SIM") {
                EmpresaSelecionada = "00000000";
                Troca(301, EmpresaSelecionada);
                if (!ExisteEmpresa(Raiz, EmpresaSelecionada))
                    EmpresaSelecionada = ComboBoxEmpresa->Item(0);
            } else {
                EmpresaSelecionada.clear();
            }
        } else {
            MessageBox(LeMensagens(Msg::CodGrupoNaoCadastrado), TituloConfigurador, MB_OK | MB_ICONERROR);
            ComboBoxEmpresa->SetItems(LeListaGrupos());
            if (!LeListaEmpresas(Raiz).empty()) {
                Troca(506, EmpresaSelecionada);
                EmpresaSelecionada = ComboBoxEmpresa->Item(0);
            } else {
                EmpresaSelecionada.clear();
            }
        }
        ComboBoxEmpresa->SetText(EmpresaSelecionada);
        // A company file removed under our feet could send us round forever; twice is enough.
        if (ProfundidadeChange < 2) {
            ++ProfundidadeChange;
            TFormPadraoCfgEstab::ComboBoxEmpresaChange();
            --ProfundidadeChange;
        }
        Texto = EmpresaSelecionada;
    }
    EmpresaSelecionada = Texto;
    PostMessage(WM_AFTERSHOW);
}

void TFormPadraoCfgEstab::ComboBoxEmpresaCloseUp()
{
    if (Apara(EmpresaDigitada).empty())
        EmpresaDigitada = ComboBoxEmpresa->Text();
    if (!ExisteEmpresa(RaizServidor(), EmpresaDigitada) && !EhTodas(EmpresaDigitada)) {
        ComboBoxEmpresa->SetText(EmpresaDigitada);
        ComboBoxEmpresa->SetSelStart(static_cast<int>(EmpresaDigitada.size()));
    }
}

void TFormPadraoCfgEstab::ComboBoxEmpresaEnter()
{
    Notifica(100, LeMensagens(Msg::SelecEmpConfigurar));
}

void TFormPadraoCfgEstab::ComboBoxEmpresaExit()
{
    if (!Unidade().DropDown)
        return;
    const std::string Texto = ComboBoxEmpresa->Text();
    const bool Grupo = ModoGrupo();
    const std::size_t Tamanho = Grupo ? 6 : 8;
    if (Texto.size() != Tamanho)
        return;
    const bool SemBrancos = Apara(Texto).size() == Tamanho;
    if (!Grupo && (SemBrancos || EhTodas(Texto))) {
        if (!ExisteEmpresa(RaizServidor(), Texto) && !EhTodas(Texto)) {
            ComboBoxEmpresa->SetText("");
            EmpresaSelecionada.clear();
        }
    } else if (Grupo && SemBrancos) {
        if (!ExisteGrupo(Texto)) {
            ComboBoxEmpresa->SetText("");
            EmpresaSelecionada.clear();
        }
    } else if (!VerificaComboBoxEmpresa(Texto) && ComboBoxEmpresa->Visible() && ExistemEmpresas == "SIM") {
        MessageBox(LeMensagens(Grupo ? Msg::CodGrpNumDigitoErrado : Msg::CodEmpNumDigitoErrado), TituloConfigurador,
                   MB_OK | MB_ICONWARNING);
        ComboBoxEmpresa->SetText("");
    }
}

void TFormPadraoCfgEstab::ComboBoxEmpresaKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_F4) {
        ComboBoxEmpresa->SetText("");
        ComboBoxEmpresa->SetDroppedDown(true);
        Key = 0;
    } else if ((Shift & ssCtrl) && Key == 'V') {
        ComboBoxEmpresa->SetText("");
        Key = 0;
    }
    SoltaTeclaInsert();
}

void TFormPadraoCfgEstab::ComboBoxEmpresaKeyPress(char& Key)
{
    SomenteLetrasNumeros(Key);
    if (!KovanMultiEmpresa(RaizServidor()) || ModoHost == "8")
        Key = '\0';
}

void TFormPadraoCfgEstab::RBEmpresaClick()
{
    if (!RBEmpresa->Checked() || Unidade().IniciandoRB)
        return;
    ComboBoxEmpresa->ClearItems();
    ComboBoxEmpresa->SetItems(Unidade().lstEmp);
    ComboBoxEmpresa->SetItemIndex(0);
    Unidade().Selecao = "1";
}

void TFormPadraoCfgEstab::RBGrupoClick()
{
    if (!RBGrupo->Checked() || Unidade().IniciandoRB)
        return;
    ComboBoxEmpresa->ClearItems();
    ComboBoxEmpresa->SetItems(Unidade().lstGrup);
    ComboBoxEmpresa->SetItemIndex(0);
    Unidade().Selecao = "0";
}

void TFormPadraoCfgEstab::BitBtnSalvarClick() { PostMessage(WM_AFTERSHOW); }
void TFormPadraoCfgEstab::BitBtnCancelarClick() { PostMessage(WM_AFTERSHOW); }
void TFormPadraoCfgEstab::BitBtnExcluirClick() { PostMessage(WM_AFTERSHOW); }

void TFormPadraoCfgEstab::BitBtnRetornarClick()
{
    if (Modificado) {
        PostMessage(WM_HACKBOX);
        if (MessageBox(LeMensagens(Msg::DesejaSairSemSalvar), TituloConfigurador, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    close();
    EvtLog.reset();
    Unidade().lstEmp = {};
    Unidade().lstGrup = {};
    FinalizaBanco();
    Notifica(0, "");
}

void TFormPadraoCfgEstab::DadosModificados(bool Valor)
{
    AplicaModificado(Valor, KovanMultiEmpresa(RaizServidor()));
}

void TFormPadraoCfgEstab::AplicaModificado(bool Valor, bool MudaCaixa)
{
    Modificado = Valor;
    BitBtnSalvar->SetEnabled(Valor);
    BitBtnCancelar->SetEnabled(Valor);
    BitBtnExcluir->SetEnabled(!Valor);
    if (MudaCaixa)
        ComboBoxEmpresa->SetEnabled(!Valor);
    AplicaRestricoes();
}

void TFormPadraoCfgEstab::WMHackBox()
{
    // The box opened right after posting is the active modal window while this runs.
    const std::string Sim = LeMensagens(Msg::Sim), Nao = LeMensagens(Msg::Nao);
    if (!RenomeiaBotoesSimNao(TituloConfigurador, Sim, Nao))
        RenomeiaBotoesSimNao(LeMensagens(Msg::Atencao), Sim, Nao);
}

bool TFormPadraoCfgEstab::VerificaComboBoxEmpresa(const std::string& Texto) const
{
    return ComboBoxEmpresa->IndexOf(Texto) >= 0;
}

void TFormPadraoCfgEstab::TrataGroupBox(bool Habilita, TGroupBox* Grupo)
{
    Grupo->SetFontColor(Habilita ? QColor(Qt::black) : CorTextoCinza());
    HabilitaDentro(Habilita, Grupo, false);
}

void TFormPadraoCfgEstab::HabilitaDentro(bool Habilita, QWidget* Pai, bool PaineisDentro)
{
    for (QObject* Filho : Pai->children()) {
        auto* W = qobject_cast<QWidget*>(Filho);
        if (!W)
            continue;
        if (auto* Paginas = qobject_cast<TPageControl*>(W))
            Habilitar(Habilita, Paginas);
        else if (auto* Grupo = qobject_cast<TGroupBox*>(W))
            TrataGroupBox(Habilita, Grupo);
        else if (PaineisDentro && qobject_cast<TPanel*>(W))
            HabilitaDentro(Habilita, W, true);
        else if (qobject_cast<TStringGrid*>(W) || qobject_cast<TTabSet*>(W))
            W->setEnabled(true);
        else
            W->setEnabled(Habilita);
    }
}

void TFormPadraoCfgEstab::Habilitar(bool Habilita, TPageControl* Paginas)
{
    if (SomenteVisualiza())
        Habilita = false;
    for (int P = 0; P < Paginas->PageCount(); ++P) {
        TTabSheet* Pagina = Paginas->Pages(P);
        if (!Pagina)
            continue;
        for (QObject* Filho : Pagina->children()) {
            auto* W = qobject_cast<QWidget*>(Filho);
            if (!W)
                continue;
            if (auto* Combo = qobject_cast<TComboBox*>(W)) {
                if (Combo->objectName() != ComboBoxEmpresa->objectName())
                    Combo->SetEnabled(Habilita);
            } else if (qobject_cast<TStringGrid*>(W) || qobject_cast<TTabSet*>(W)) {
                W->setEnabled(true);
            } else if (auto* Interno = qobject_cast<TPageControl*>(W)) {
                Habilitar(Habilita, Interno);
            } else if (auto* Grupo = qobject_cast<TGroupBox*>(W)) {
                TrataGroupBox(Habilita, Grupo);
            } else if (qobject_cast<TPanel*>(W)) {
                HabilitaDentro(Habilita, W, true);
            } else {
                W->setEnabled(Habilita);
            }
        }
    }
    if (!Habilita) {
        if (ComboBoxEmpresa->Enabled())
            Label2->SetEnabled(true);
        BitBtnRetornar->SetEnabled(true);
    }
}
