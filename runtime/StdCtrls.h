#pragma once
// The standard controls over their Qt widgets. Change and click events are raised only by the user,
// never by code that sets a text, a state or the items. Key events come with Windows virtual-key codes
// (runtime/Controls.h): KeyDown for every key (setting the key to 0 swallows it), then KeyPress for a
// typed character (CP1252; NUL drops it, another character replaces it). Forward Delete and the Ctrl
// letters that edit (select all, copy, undo) are no typed characters. A paste is typing: each of its
// characters passes KeyPress.
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
class QStringListModel;

/// A label. With AutoSize (the default) it takes the size of its text whenever the text or the font
/// changes, keeping its top-left corner.
class KOVANRT_API TLabel : public TControleComTexto<QLabel> {
    Q_OBJECT
public:
    explicit TLabel(QWidget* Pai = nullptr);
    void SetCaption(const std::string& Texto);
    bool AutoSize() const { return Automatico; }
    void SetAutoSize(bool Valor);

protected:
    void changeEvent(QEvent* Evento) override;

private:
    void AjustaTamanho();
    bool Automatico = true;
};

class KOVANRT_API TEdit : public TControle<QLineEdit> {
    Q_OBJECT
public:
    explicit TEdit(QWidget* Pai = nullptr);
    std::string Text() const;
    void SetText(const std::string& Texto);
    /// 0: no limit.
    int MaxLength() const;
    void SetMaxLength(int Tamanho);
    /// Caret position (0: before the first character).
    int SelStart() const { return cursorPosition(); }
    void SetSelStart(int Posicao) { setCursorPosition(Posicao); }

signals:
    void Change();
    void Enter();
    void Exit();
    void KeyDown(Word& Key, TShiftState Shift);
    void KeyPress(char& Key);

protected:
    /// Pasting (Ctrl+V, Shift+Insert, the menu, the middle button) is typing: every character goes
    /// through KeyPress.
    void keyPressEvent(QKeyEvent* Evento) override;
    void contextMenuEvent(QContextMenuEvent* Evento) override;
    void mouseReleaseEvent(QMouseEvent* Evento) override;
};

/// An editable combo box. Text is what the edit part holds; Change comes from typing or picking an
/// entry. The key events hook the combo box itself: a focused combo box receives the keys and hands
/// them to its line edit by a direct call that skips the line edit's event filters. While the list is
/// open, typing still goes to the edit part, as on Windows.
class KOVANRT_API TComboBox : public TControle<QComboBox> {
    Q_OBJECT
public:
    explicit TComboBox(QWidget* Pai = nullptr);
    ~TComboBox() override;
    std::string Text() const;
    /// Sets the edit part's text, caret after its last character.
    void SetText(const std::string& Texto);
    /// 0: no limit.
    int MaxLength() const;
    void SetMaxLength(int Tamanho);

    /// The entries. SetItems replaces them in one model update and keeps the edit text.
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& Itens);
    int ItemCount() const { return count(); }
    std::string Item(int Indice) const;
    void AddItem(const std::string& Item);
    void InsertItem(int Indice, const std::string& Item);
    /// Empties the entries, keeping the edit text.
    void ClearItems();
    /// Empties the entries and the edit text.
    void Clear();
    /// Index of the exact entry (letter case ignored), -1 when none.
    int IndexOf(const std::string& Item) const;
    int ItemIndex() const;
    /// Selects an entry (its text becomes the edit text); -1 selects none and keeps the text.
    void SetItemIndex(int Indice);

    /// The list is open. Opening or closing it from code raises no CloseUp.
    bool DroppedDown() const;
    void SetDroppedDown(bool Aberto);

    /// Caret position in the edit part.
    int SelStart() const;
    void SetSelStart(int Posicao);

signals:
    void Change();
    void CloseUp();
    void Enter();
    void Exit();
    void KeyDown(Word& Key, TShiftState Shift);
    void KeyPress(char& Key);

protected:
    void keyPressEvent(QKeyEvent* Evento) override;
    void hidePopup() override;
    bool eventFilter(QObject* Objeto, QEvent* Evento) override;

private:
    QStringListModel* Modelo;
    bool FechandoPorCodigo = false;
};

/// A push button. Default: Enter on the form presses it (unless another button has the focus).
/// Cancel: Esc on the form presses it.
class KOVANRT_API TButton : public TControleComTexto<QPushButton> {
    Q_OBJECT
public:
    explicit TButton(QWidget* Pai = nullptr);
    bool Default() const { return Padrao; }
    void SetDefault(bool Valor) { Padrao = Valor; }
    bool Cancel() const { return Cancela; }
    void SetCancel(bool Valor) { Cancela = Valor; }
signals:
    void Click();
    void Enter();
    void Exit();

private:
    bool Padrao = false;
    bool Cancela = false;
};

/// A button with a glyph; handled everywhere as a TButton.
class KOVANRT_API TBitBtn : public TButton {
    Q_OBJECT
public:
    explicit TBitBtn(QWidget* Pai = nullptr);
};

/// A flat tool button; it never takes the focus.
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
    void Enter();
    void Exit();
};

class KOVANRT_API TRadioButton : public TControleMarcavel<QRadioButton> {
    Q_OBJECT
public:
    explicit TRadioButton(QWidget* Pai = nullptr);
signals:
    void Click();
    void Enter();
    void Exit();
};

/// A group box. Its caption colour follows the font colour (SetFontColor), which its controls inherit.
class KOVANRT_API TGroupBox : public TControle<QGroupBox> {
    Q_OBJECT
public:
    explicit TGroupBox(QWidget* Pai = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string& Texto);
signals:
    void Enter();
    void Exit();
};

/// A panel: a frame whose caption is drawn in its centre.
class KOVANRT_API TPanel : public TControle<QFrame> {
    Q_OBJECT
public:
    explicit TPanel(QWidget* Pai = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string& Texto);
signals:
    void Enter();
    void Exit();

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
