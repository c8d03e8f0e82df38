#pragma once
// TControle: what every toolkit control has, over its Qt widget: a name (the object name, which the
// translator and the tests find it by), Enabled, Visible and the hint (tool tip). Texts are CP1252.
#include "runtime/Texto.h"

#include <QWidget>

#include <string>

template <class Widget>
class TControle : public Widget {
public:
    explicit TControle(QWidget* Pai = nullptr) : Widget(Pai) {}

    std::string Name() const { return Cp1252DeQString(this->objectName()); }
    void SetName(const std::string& Nome) { this->setObjectName(QStringDeCp1252(Nome)); }

    bool Enabled() const { return this->isEnabled(); }
    void SetEnabled(bool Valor) { this->setEnabled(Valor); }

    /// The control's own visibility, whether or not its parent is shown.
    bool Visible() const { return !this->isHidden(); }
    void SetVisible(bool Valor) { this->setVisible(Valor); }

    std::string Hint() const { return Cp1252DeQString(this->toolTip()); }
    void SetHint(const std::string& Texto) { this->setToolTip(QStringDeCp1252(Texto)); }

    /// Places the control in its parent's client area, as the form layouts give it.
    void SetBounds(int Esquerda, int Topo, int Largura, int Altura) { this->setGeometry(Esquerda, Topo, Largura, Altura); }
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
