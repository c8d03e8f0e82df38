#pragma once
// The standard controls over their Qt widgets. Change and click events are raised only by the user,
// never by code that sets a text, a state or the items.
#include "platform/Export.h"
#include "runtime/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <string>
#include <vector>

class QButtonGroup;

class KOVANRT_API TLabel : public TControleComTexto<QLabel> {
    Q_OBJECT
public:
    explicit TLabel(QWidget* Pai = nullptr);
};

class KOVANRT_API TEdit : public TControle<QLineEdit> {
    Q_OBJECT
public:
    explicit TEdit(QWidget* Pai = nullptr);
    std::string Text() const;
    void SetText(const std::string& Texto);
    /// 0: no limit.
    void SetMaxLength(int Tamanho);

signals:
    void Change();
    void Enter();
    void Exit();
    /// A typed character (CP1252); a handler may change it, or set it to NUL to drop the key.
    void KeyPress(char& Tecla);

protected:
    void keyPressEvent(QKeyEvent* Evento) override;
    void focusInEvent(QFocusEvent* Evento) override;
    void focusOutEvent(QFocusEvent* Evento) override;
};

/// An editable combo box: Text is what the edit part holds; Change comes from typing or picking.
class KOVANRT_API TComboBox : public TControle<QComboBox> {
    Q_OBJECT
public:
    explicit TComboBox(QWidget* Pai = nullptr);
    std::string Text() const;
    void SetText(const std::string& Texto);
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& Itens);
    void AddItem(const std::string& Item);
    void ClearItems();
    int ItemIndex() const;
    void SetItemIndex(int Indice);
    void SetDroppedDown(bool Aberto);

signals:
    void Change();
    void CloseUp();
    void Enter();
    void Exit();
    void KeyPress(char& Tecla);

protected:
    void hidePopup() override;
    bool eventFilter(QObject* Objeto, QEvent* Evento) override;
};

class KOVANRT_API TButton : public TControleComTexto<QPushButton> {
    Q_OBJECT
public:
    explicit TButton(QWidget* Pai = nullptr);
signals:
    void Click();
};

/// A button with a glyph; handled everywhere as a TButton.
class KOVANRT_API TBitBtn : public TButton {
    Q_OBJECT
public:
    explicit TBitBtn(QWidget* Pai = nullptr);
};

class KOVANRT_API TSpeedButton : public TControleComTexto<QToolButton> {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* Pai = nullptr);
    void SetFlat(bool Plano);
signals:
    void Click();
};

class KOVANRT_API TCheckBox : public TControleMarcavel<QCheckBox> {
    Q_OBJECT
public:
    explicit TCheckBox(QWidget* Pai = nullptr);
signals:
    void Click();
};

class KOVANRT_API TRadioButton : public TControleMarcavel<QRadioButton> {
    Q_OBJECT
public:
    explicit TRadioButton(QWidget* Pai = nullptr);
signals:
    void Click();
};

class KOVANRT_API TGroupBox : public TControle<QGroupBox> {
    Q_OBJECT
public:
    explicit TGroupBox(QWidget* Pai = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string& Texto);
};

/// A panel: a frame whose caption is drawn in its centre.
class KOVANRT_API TPanel : public TControle<QFrame> {
    Q_OBJECT
public:
    explicit TPanel(QWidget* Pai = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string& Texto);

protected:
    void paintEvent(QPaintEvent* Evento) override;

private:
    QString Legenda;
};

/// A group box of radio buttons, one per item; ItemIndex is the checked one (-1: none).
class KOVANRT_API TRadioGroup : public TControle<QGroupBox> {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* Pai = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string& Texto);
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& Itens);
    std::string Item(int Indice) const;
    void SetItem(int Indice, const std::string& Texto);
    int ItemIndex() const;
    void SetItemIndex(int Indice);
signals:
    void Click();

private:
    QButtonGroup* Grupo;
    std::vector<QRadioButton*> Botoes;
};
