#include "runtime/StdCtrls.h"

#include "platform/Cp1252.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

namespace {

// Offers a typed character to a KeyPress handler; true when the key is to be dropped. A replaced
// character is inserted by the caller's widget as if typed.
template <class Emissor>
bool FiltraTecla(QKeyEvent* Evento, QWidget* Alvo, Emissor Emite)
{
    static bool Reenviando = false; // the replacement itself is not offered again
    const QString Texto = Evento->text();
    if (Texto.size() != 1 || Reenviando)
        return false;
    const char Original = Cp1252DeUnicode(Texto.at(0).unicode());
    char Tecla = Original;
    Emite(Tecla);
    if (Tecla == '\0')
        return true;
    if (Tecla == Original)
        return false;
    const QString Novo(QChar(static_cast<char16_t>(Cp1252ParaUnicode(static_cast<unsigned char>(Tecla)))));
    QKeyEvent Trocado(Evento->type(), 0, Evento->modifiers(), Novo);
    Reenviando = true;
    QCoreApplication::sendEvent(Alvo, &Trocado);
    Reenviando = false;
    return true;
}

} // namespace

TLabel::TLabel(QWidget* Pai) : TControleComTexto(Pai) {}

TEdit::TEdit(QWidget* Pai) : TControle(Pai)
{
    connect(this, &QLineEdit::textEdited, this, &TEdit::Change);
}
std::string TEdit::Text() const { return Cp1252DeQString(text()); }
void TEdit::SetText(const std::string& Texto) { setText(QStringDeCp1252(Texto)); }
void TEdit::SetMaxLength(int Tamanho) { setMaxLength(Tamanho > 0 ? Tamanho : 32767); }

void TEdit::keyPressEvent(QKeyEvent* Evento)
{
    if (!FiltraTecla(Evento, this, [&](char& Tecla) { emit KeyPress(Tecla); }))
        QLineEdit::keyPressEvent(Evento);
}
void TEdit::focusInEvent(QFocusEvent* Evento)
{
    QLineEdit::focusInEvent(Evento);
    emit Enter();
}
void TEdit::focusOutEvent(QFocusEvent* Evento)
{
    QLineEdit::focusOutEvent(Evento);
    emit Exit();
}

TComboBox::TComboBox(QWidget* Pai) : TControle(Pai)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TComboBox::Change);
    connect(this, &QComboBox::activated, this, &TComboBox::Change);
    lineEdit()->installEventFilter(this);
    installEventFilter(this);
}
std::string TComboBox::Text() const { return Cp1252DeQString(currentText()); }
void TComboBox::SetText(const std::string& Texto) { setEditText(QStringDeCp1252(Texto)); }
std::vector<std::string> TComboBox::Items() const
{
    std::vector<std::string> Itens;
    for (int I = 0; I < count(); ++I)
        Itens.push_back(Cp1252DeQString(itemText(I)));
    return Itens;
}
void TComboBox::SetItems(const std::vector<std::string>& Itens)
{
    const QString Texto = currentText();
    clear();
    for (const std::string& Item : Itens)
        addItem(QStringDeCp1252(Item));
    setCurrentIndex(-1);
    setEditText(Texto);
}
void TComboBox::AddItem(const std::string& Item)
{
    const QString Texto = currentText();
    const int Indice = currentIndex();
    addItem(QStringDeCp1252(Item));
    setCurrentIndex(Indice);
    setEditText(Texto);
}
void TComboBox::ClearItems()
{
    const QString Texto = currentText();
    clear();
    setEditText(Texto);
}
int TComboBox::ItemIndex() const { return currentIndex(); }
void TComboBox::SetItemIndex(int Indice) { setCurrentIndex(Indice); }
void TComboBox::SetDroppedDown(bool Aberto) { Aberto ? showPopup() : hidePopup(); }
void TComboBox::hidePopup()
{
    QComboBox::hidePopup();
    emit CloseUp();
}
bool TComboBox::eventFilter(QObject* Objeto, QEvent* Evento)
{
    if (Objeto == lineEdit() && Evento->type() == QEvent::KeyPress) {
        auto* Tecla = static_cast<QKeyEvent*>(Evento);
        return FiltraTecla(Tecla, lineEdit(), [&](char& C) { emit KeyPress(C); });
    }
    if (Objeto == this && Evento->type() == QEvent::FocusIn)
        emit Enter();
    if (Objeto == this && Evento->type() == QEvent::FocusOut && !view()->isVisible())
        emit Exit();
    return QComboBox::eventFilter(Objeto, Evento);
}

TButton::TButton(QWidget* Pai) : TControleComTexto(Pai)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &TButton::Click);
}

TBitBtn::TBitBtn(QWidget* Pai) : TButton(Pai) {}

TSpeedButton::TSpeedButton(QWidget* Pai) : TControleComTexto(Pai)
{
    setFocusPolicy(Qt::NoFocus); // speed buttons never take the focus
    connect(this, &QToolButton::clicked, this, &TSpeedButton::Click);
}
void TSpeedButton::SetFlat(bool Plano) { setAutoRaise(Plano); }

TCheckBox::TCheckBox(QWidget* Pai) : TControleMarcavel(Pai)
{
    connect(this, &QCheckBox::clicked, this, &TCheckBox::Click);
}

TRadioButton::TRadioButton(QWidget* Pai) : TControleMarcavel(Pai)
{
    connect(this, &QRadioButton::clicked, this, &TRadioButton::Click);
}

TGroupBox::TGroupBox(QWidget* Pai) : TControle(Pai) {}
std::string TGroupBox::Caption() const { return Cp1252DeQString(title()); }
void TGroupBox::SetCaption(const std::string& Texto) { setTitle(QStringDeCp1252(Texto)); }

TPanel::TPanel(QWidget* Pai) : TControle(Pai)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
}
std::string TPanel::Caption() const { return Cp1252DeQString(Legenda); }
void TPanel::SetCaption(const std::string& Texto)
{
    Legenda = QStringDeCp1252(Texto);
    update();
}
void TPanel::paintEvent(QPaintEvent* Evento)
{
    QFrame::paintEvent(Evento);
    if (Legenda.isEmpty())
        return;
    QPainter Pintor(this);
    Pintor.drawText(contentsRect(), Qt::AlignCenter, Legenda);
}

TRadioGroup::TRadioGroup(QWidget* Pai) : TControle(Pai), Grupo(new QButtonGroup(this))
{
    connect(Grupo, &QButtonGroup::idClicked, this, &TRadioGroup::Click);
}
std::string TRadioGroup::Caption() const { return Cp1252DeQString(title()); }
void TRadioGroup::SetCaption(const std::string& Texto) { setTitle(QStringDeCp1252(Texto)); }
std::vector<std::string> TRadioGroup::Items() const
{
    std::vector<std::string> Itens;
    for (const QRadioButton* Botao : Botoes)
        Itens.push_back(Cp1252DeQString(Botao->text()));
    return Itens;
}
void TRadioGroup::SetItems(const std::vector<std::string>& Itens)
{
    for (QRadioButton* Botao : Botoes) {
        Grupo->removeButton(Botao);
        Botao->hide();
        Botao->deleteLater();
    }
    Botoes.clear();
    const int Altura = 20;
    for (std::size_t I = 0; I < Itens.size(); ++I) {
        auto* Botao = new QRadioButton(QStringDeCp1252(Itens[I]), this);
        Botao->setGeometry(8, 18 + Altura * static_cast<int>(I), std::max(width() - 16, 20), Altura);
        Botao->show();
        Grupo->addButton(Botao, static_cast<int>(I));
        Botoes.push_back(Botao);
    }
}
std::string TRadioGroup::Item(int Indice) const
{
    return Indice >= 0 && Indice < static_cast<int>(Botoes.size()) ? Cp1252DeQString(Botoes[Indice]->text())
                                                                   : std::string();
}
void TRadioGroup::SetItem(int Indice, const std::string& Texto)
{
    if (Indice >= 0 && Indice < static_cast<int>(Botoes.size()))
        Botoes[Indice]->setText(QStringDeCp1252(Texto));
}
int TRadioGroup::ItemIndex() const { return Grupo->checkedId(); }
void TRadioGroup::SetItemIndex(int Indice)
{
    if (Indice >= 0 && Indice < static_cast<int>(Botoes.size())) {
        Botoes[Indice]->setChecked(true);
    } else if (QAbstractButton* Marcado = Grupo->checkedButton()) {
        Grupo->setExclusive(false);
        Marcado->setChecked(false);
        Grupo->setExclusive(true);
    }
}
