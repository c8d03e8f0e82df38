#pragma once
// TForm: the base of every screen a module offers, over QWidget; the screen cursor and the progress of
// long work.
//
// Life cycle as a host drives it: CriaFormPorNome (runtime/Classes.h) constructs the form through its
// registered factory and then runs FormCreate, so the form has run it when the call returns (a virtual
// cannot be dispatched from the constructor). The first show chains the focus by the controls' tab
// order and runs FormShow, once. Private messages posted with PostMessage arrive at TrataMensagem after
// the current handler returns. Every one of these runs inside the event boundary.
#include "platform/Export.h"
#include "runtime/Controls.h"

#include <QWidget>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

class QProgressDialog;
class TButton;

class KOVANRT_API TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* Owner = nullptr);

    /// Title of the form, CP1252.
    std::string Caption() const;
    void SetCaption(const std::string& Texto);
    /// Size of the client area.
    void SetClientSize(int Largura, int Altura) { resize(Largura, Altura); }

    /// Posts a private message (a number above 1000) to the form; it arrives after the current handler
    /// returns, through TrataMensagem.
    void PostMessage(int Mensagem);
    /// Closes the form, as the user does with the window's close box.
    void Close() { close(); }

    /// Chains the focus through the form's controls in tab order: a parent's controls by their
    /// TabOrder (those without one after them, in creation order), each container's controls right
    /// after the container. Done at the first show; call again after moving controls around.
    void AplicaOrdemTab();

    /// The enabled, visible button with Cancel (Esc) or Default (Enter) set, or null.
    TButton* BotaoCancelar() const;
    TButton* BotaoPadrao() const;

protected:
    /// Runs once the form is constructed (CriaFormPorNome), before the host sees it.
    virtual void FormCreate() {}
    /// Runs at the first show.
    virtual void FormShow() {}
    /// Receives the private messages posted with PostMessage.
    virtual void TrataMensagem(int Mensagem);

    bool event(QEvent* Evento) override;
    void showEvent(QShowEvent* Evento) override;
    /// Esc presses the cancel button, Enter the focused button or else the default one: the keys the
    /// controls leave reach the form.
    void keyPressEvent(QKeyEvent* Evento) override;
    /// The window's close box presses the cancel button, which closes the form (or keeps it open, when
    /// it asks first); a form without one closes.
    void closeEvent(QCloseEvent* Evento) override;

private:
    friend TForm* CriaFormPorNome(std::string_view Nome, QWidget* Owner);
    bool Mostrado = false;
};

/// Cursor codes of the screen.
using TCursor = short;
inline constexpr TCursor crDefault = 0, crHourGlass = -11;

/// The screen: the cursor shown over every window of the program. Showing the hourglass overrides
/// the cursor of the application until crDefault is set again.
class KOVANRT_API TScreen {
public:
    TCursor Cursor() const { return Atual; }
    void SetCursor(TCursor Cursor);

private:
    TCursor Atual = crDefault;
};

KOVANRT_API TScreen& Screen();

/// Long work on a screen (one step per company): the hourglass cursor while it runs and, once it has
/// taken half a second, a window with the count done, with a Cancel button when the work may stop between
/// two steps. Without a Qt GUI application only the cursor is kept.
class KOVANRT_API TProgresso {
public:
    TProgresso(const std::string& Texto, int Total, bool Cancelavel);
    ~TProgresso();
    TProgresso(const TProgresso&) = delete;
    TProgresso& operator=(const TProgresso&) = delete;
    /// Feitos steps are done; false once the person has asked to stop.
    bool Avanca(int Feitos);

private:
    QString Texto;
    int Total;
    bool Cancelavel;
    TCursor CursorSalvo;
    std::chrono::steady_clock::time_point Inicio;
    std::unique_ptr<QProgressDialog> Janela;
};
