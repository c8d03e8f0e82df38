#pragma once
// TControle: what every toolkit control has, over its Qt widget: a name (the object name, which the
// translator and the tests find it by), Enabled, Visible, the hint (tool tip), tab order and tab stop,
// anchors, font and text colour. Texts are CP1252.
//
// Every event a control raises (Click, Change, KeyDown, Enter...) is emitted inside the event
// boundary (ExecutaProtegido): an exception thrown by any handler bound to it is shown in a message
// box and the screen stays usable. Enter and Exit are raised for every control that declares them,
// when the focus moves into or out of it (or out of a control inside it), within one window.
#include "platform/Export.h"
#include "runtime/Texto.h"

#include <QColor>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

/// Runs a handler at the event boundary: an exception that escapes it is shown in a message box with
/// its text, as the host's runtime does, and the screen stays usable.
KOVANRT_API void ExecutaProtegido(const std::function<void()>& Acao) noexcept;

/// Windows virtual-key code, as the key handlers receive it.
using Word = std::uint16_t;

inline constexpr Word VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
                      VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
                      VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
                      VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F4 = 0x73;

/// Shift state of a key event: a set of these bits.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4;

/// The virtual-key code of a Qt key (letters and digits are their upper-case ASCII code); 0 for a key
/// Windows has no code for.
KOVANRT_API Word TeclaVirtual(int TeclaQt) noexcept;
/// The shift state of Qt's modifiers.
KOVANRT_API TShiftState EstadoShift(Qt::KeyboardModifiers Modificadores) noexcept;

/// On Windows a key handler may synthesise a key-up of the Insert key (keybd_event) after a key it
/// swallowed, so that the edit control's insert/overwrite toggle is left as it was. Qt's line edits
/// have no overwrite mode driven by Insert and no key state to leave behind, so nothing is done.
inline void SoltaTeclaInsert() noexcept {}

/// Anchors: the sides of the parent a control keeps its distance to when the parent is resized.
using TAnchors = unsigned;
inline constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;

/// Keeps W's distances to the anchored sides of its parent from the parent's first laid-out size on.
KOVANRT_API void AplicaAncoras(QWidget* W, TAnchors Ancoras);
/// The tab order of W among its siblings; the form chains the focus by it when it is first shown.
KOVANRT_API void DefineOrdemTab(QWidget* W, int Ordem);
KOVANRT_API int OrdemTab(const QWidget* W);
/// Tab stop: a control without one still takes the focus by a click or from code, never by Tab.
KOVANRT_API void DefineTabStop(QWidget* W, bool Para);
/// Font by family and height: negative heights are character heights in pixels, positive ones cell
/// heights (the character plus its internal leading), as form layouts give them.
KOVANRT_API void DefineFonte(QWidget* W, const std::string& Familia, int Altura);
/// Colour of a control's texts (labels, captions, edits). An invalid colour goes back to the palette's.
KOVANRT_API void DefineCorFonte(QWidget* W, const QColor& Cor);
/// The system colour of disabled (grey) text.
KOVANRT_API QColor CorTextoCinza();
/// Makes Enter and Exit reach the controls that declare them (done once, by the first control).
KOVANRT_API void AcompanhaFoco();

template <class Widget>
class TControle : public Widget {
public:
    explicit TControle(QWidget* Pai = nullptr) : Widget(Pai)
    {
        this->setProperty("kovanControle", true); // found by the form's tab chain
        AcompanhaFoco();
    }

    std::string Name() const { return Cp1252DeQString(this->objectName()); }
    void SetName(const std::string& Nome) { this->setObjectName(QStringDeCp1252(Nome)); }

    bool Enabled() const { return this->isEnabled(); }
    void SetEnabled(bool Valor) { this->setEnabled(Valor); }

    /// The control's own visibility, whether or not its parent is shown.
    bool Visible() const { return !this->isHidden(); }
    void SetVisible(bool Valor) { this->setVisible(Valor); }

    /// The hint is shown as a tool tip while ShowHint is on (the default).
    std::string Hint() const { return Cp1252DeQString(Dica); }
    void SetHint(const std::string& Texto)
    {
        Dica = QStringDeCp1252(Texto);
        this->setToolTip(MostraDica ? Dica : QString());
    }
    bool ShowHint() const { return MostraDica; }
    void SetShowHint(bool Mostra)
    {
        MostraDica = Mostra;
        this->setToolTip(MostraDica ? Dica : QString());
    }

    /// Places the control in its parent's client area, as the form layouts give it.
    void SetBounds(int Esquerda, int Topo, int Largura, int Altura) { this->setGeometry(Esquerda, Topo, Largura, Altura); }

    int TabOrder() const { return OrdemTab(this); }
    void SetTabOrder(int Ordem) { DefineOrdemTab(this, Ordem); }
    bool TabStop() const { return (this->focusPolicy() & Qt::TabFocus) != 0; }
    void SetTabStop(bool Para) { DefineTabStop(this, Para); }
    void SetAnchors(TAnchors Ancoras) { AplicaAncoras(this, Ancoras); }
    void SetFont(const std::string& Familia, int Altura) { DefineFonte(this, Familia, Altura); }
    void SetFontColor(const QColor& Cor) { DefineCorFonte(this, Cor); }

    /// True when the control could take the focus now (enabled and shown with its parents).
    bool CanFocus() const { return this->isEnabled() && this->isVisible() && this->focusPolicy() != Qt::NoFocus; }
    void SetFocus() { this->setFocus(Qt::OtherFocusReason); }
    bool Focused() const { return this->hasFocus(); }

private:
    QString Dica;
    bool MostraDica = true;
};

/// A control whose caption is its Qt text: labels and buttons.
template <class Widget>
class TControleComTexto : public TControle<Widget> {
public:
    using TControle<Widget>::TControle;

    std::string Caption() const { return Cp1252DeQString(this->text()); }
    void SetCaption(const std::string& Texto) { this->setText(QStringDeCp1252(Texto)); }
};

/// A button that can be checked: check boxes and radio buttons.
template <class Widget>
class TControleMarcavel : public TControleComTexto<Widget> {
public:
    using TControleComTexto<Widget>::TControleComTexto;

    bool Checked() const { return this->isChecked(); }
    void SetChecked(bool Marcado) { this->setChecked(Marcado); }
};

/// Creates a control of a form layout: its parent, its name (the object name) and its place.
template <class Controle>
Controle* CriaControle(QWidget* Pai, const char* Nome, int Esquerda, int Topo, int Largura, int Altura)
{
    auto* C = new Controle(Pai);
    C->SetName(Nome);
    C->SetBounds(Esquerda, Topo, Largura, Altura);
    return C;
}
