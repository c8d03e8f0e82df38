#pragma once
// Company/group selection screen from which every screen of the module derives. It chooses and checks
// the company (or group) whose configuration is shown, enables the configuration controls only while a
// valid choice is shown, applies the host's view-only and fixed-company restrictions, exchanges the
// selection with the host, translates the form, owns the audit writer and closes the screen. It reads
// and writes no configuration itself: a derived screen adds its controls to TabSheet1 and overrides the
// handlers below, calling the base handler first.
#include "runtime/Controls.h"
#include "runtime/Forms.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitBtn;
class TComboBox;
class TEvtLog;
class TGroupBox;
class TInternacional;
class TLabel;
class TPageControl;
class TRadioButton;
class TTabSheet;

/// The private messages a screen posts to itself.
inline constexpr int WM_AFTERSHOW = 1324; // WM_USER + 300
inline constexpr int WM_HACKBOX = 2049;   // WM_USER + 1025

/// Caption of every message box of the module's screens.
inline constexpr const char* TituloConfigurador = "Configurador Mirabelo.";

class TFormPadraoCfgEstab : public TForm {
    Q_OBJECT
public:
    explicit TFormPadraoCfgEstab(QWidget* Owner = nullptr);
    ~TFormPadraoCfgEstab() override;

    TPageControl* PageControlEstab;
    TTabSheet* TabSheet1;
    TLabel* Label2;
    TComboBox* ComboBoxEmpresa;
    TGroupBox* GroupBoxEmpresa;
    TRadioButton* RBEmpresa;
    TRadioButton* RBGrupo;
    TBitBtn* BitBtnSalvar;
    TBitBtn* BitBtnCancelar;
    TBitBtn* BitBtnRetornar;
    TBitBtn* BitBtnExcluir;

    /// Translates the form, creates the audit writer, takes the host's mode digit (501) and resets the
    /// unit-wide state.
    void FormCreate() override;
    /// Opens the group database, exchanges the selection with the host and fills the company box.
    void FormShow() override;

    /// Applies the company box's text: filters the list while the user types, accepts a valid choice
    /// (enabling the configuration controls and telling the host) or reports an unknown code.
    virtual void ComboBoxEmpresaChange();
    /// Keeps what the user typed when the list closes.
    virtual void ComboBoxEmpresaCloseUp();
    virtual void ComboBoxEmpresaEnter();
    /// Clears a complete code that names nothing; warns about 8 (or 6) characters holding blanks.
    virtual void ComboBoxEmpresaExit();
    /// F4 empties the box and opens its list; Ctrl+V empties it (nothing can be pasted).
    virtual void ComboBoxEmpresaKeyDown(Word& Key, TShiftState Shift);
    /// Only letters and digits, and nothing at all on a single-company server or a fixed company.
    virtual void ComboBoxEmpresaKeyPress(char& Key);

    virtual void RBEmpresaClick();
    virtual void RBGrupoClick();

    /// Each only posts the after-show message; the derived screen does the work after calling it.
    virtual void BitBtnSalvarClick();
    virtual void BitBtnCancelarClick();
    virtual void BitBtnExcluirClick();
    /// Asks about unsaved changes, closes the screen, releases the lists and the group database and
    /// tells the host (0).
    virtual void BitBtnRetornarClick();

    /// Modified state: Save and Cancel follow it, Delete (and on a multi-company server the company
    /// box) the opposite.
    virtual void DadosModificados(bool Valor);

    /// Re-applies the host's restrictions (mode "8": fixed company; "2": view only).
    virtual void WmAfterShow();
    /// Relabels the Yes/No buttons of the module's open message box ("Sim", "Não").
    virtual void WMHackBox();

    /// True when Texto is one of the company box's entries (whole text, letter case ignored).
    bool VerificaComboBoxEmpresa(const std::string& Texto) const;
    /// Enables or disables the configuration controls on every page of Paginas; grids and tab sets stay
    /// usable, the company box is left alone, and Return is always left enabled.
    void Habilitar(bool Habilita, TPageControl* Paginas);

protected:
    void TrataMensagem(int Mensagem) override;

    /// The server root, from CfKovan.ini beside the host's executable, read afresh.
    std::string RaizServidor() const;
    /// True when Texto is the all-companies entry (message 250), in any letter case.
    static bool EhTodas(const std::string& Texto);
    /// True while group mode is chosen.
    bool ModoGrupo() const;
    /// True when nothing may be changed: the host shows the screen to view only (mode "2"), or the user
    /// may neither edit nor delete (privilege level 2).
    bool SomenteVisualiza() const;
    /// Runs Acao for each entry of the company box, in order, with the progress of long work (Texto; a
    /// Cancel button stops between two companies). Acao answers false to stop. True when every entry
    /// was visited.
    bool PercorreEmpresas(const std::string& Texto, const std::function<bool(const std::string&)>& Acao);
    /// Disables what the host's mode and the user's rights forbid (Save, Cancel, Delete when only
    /// viewing; the company box in mode "8"): run after anything that enables controls.
    void AplicaRestricoes();
    /// The modified flag, Save and Cancel as Valor, Delete the opposite, and the company box too when
    /// MudaCaixa (the base only on a multi-company server; derived screens always); then the
    /// restrictions.
    void AplicaModificado(bool Valor, bool MudaCaixa);

    TCursor CursorSalvo = crDefault;
    bool Modificado = false;
    std::string EmpresaSelecionada = "00000000";
    std::string ModoHost = "0";
    std::string EmpresaDigitada;
    std::unique_ptr<TEvtLog> EvtLog;
    /// The screen's name in its audit entries ("Estabelecimento"), set by the derived screen.
    std::string NomeTela;
    std::string ExistemEmpresas = "NAO";

private:
    void ConectaEventos();
    /// A group box's caption turns grey while disabled; the box itself stays as it is.
    void TrataGroupBox(bool Habilita, TGroupBox* Grupo);
    /// The controls inside a group box or (PaineisDentro) a panel, which itself stays as it is.
    void HabilitaDentro(bool Habilita, QWidget* Pai, bool PaineisDentro);
    /// Fills the company box with Lista in one step, the all-companies entry first when the box offers it.
    void PreencheCaixa(const std::vector<std::string>& Lista);

    int ProfundidadeChange = 0;
};

/// Unit-wide state, shared by every screen of the module (reset by each FormCreate).
/// -1: not yet known; 1: the company box's first entry is the all-companies entry; 0: it is not.
std::int32_t vEmpTODAS() noexcept;
/// Selection mode: "1" company, "0" group.
const std::string& Selecao() noexcept;
/// The host's 510 value; kept, not otherwise read.
const std::string& TrataGrupos() noexcept;
/// True: the company box opens and closes its list by itself while the user types.
bool DropDown() noexcept;
/// Group mode allowed. No screen of the module sets it; a test may, between creation and showing.
bool FormUsaGrupos() noexcept;
void DefineFormUsaGrupos(bool Valor) noexcept;
/// The form translator, or null.
TInternacional* ConfigComp() noexcept;
/// The company and group codes read when the last screen was shown.
const std::vector<std::string>& lstEmp() noexcept;
const std::vector<std::string>& lstGrup() noexcept;
