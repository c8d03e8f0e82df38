#include "runtime/StdCtrls.h"

#include "platform/Cp1252.h"

#include <QAbstractItemView>
#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QListView>
#include <QPainter>
#include <QStringListModel>

namespace {

// The characters Windows hands to KeyPress: printable ones and the editing keys backspace, tab, line
// feed, carriage return and escape. Forward Delete (DEL) and the Ctrl letters that edit (select all,
// copy, undo...) are commands of the edit control, never typed text, so no filter sees them (a Ctrl
// key may come with its plain letter as text).
bool CaractereDigitado(char16_t C)
{
    return (C >= 0x20 && C != 0x7F) || C == 8 || C == 9 || C == 10 || C == 13 || C == 27;
}

// Pasted text goes in as typing: each character is offered to KeyDown-less KeyPress like a typed key,
// so a field's filter decides what enters, character by character, exactly as for the keyboard.
void ColaComoDigitacao(QWidget* Destino, QClipboard::Mode Modo)
{
    const QString Texto = QGuiApplication::clipboard()->text(Modo);
    for (const QChar C : Texto) {
        QKeyEvent Tecla(QEvent::KeyPress, 0, Qt::NoModifier, QString(C));
        QCoreApplication::sendEvent(Destino, &Tecla);
    }
}

// The line edit's own menu, with Paste going through the filters.
void MenuComColagemFiltrada(QLineEdit* Edit, QWidget* Destino, QContextMenuEvent* Evento)
{
    QMenu* Menu = Edit->createStandardContextMenu();
    // The menu's Paste is known by its text: the line edit's own, with its shortcut after a tab.
    for (QAction* Acao : Menu->actions())
        if (Acao->text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr("&Paste")) {
            QObject::disconnect(Acao, &QAction::triggered, nullptr, nullptr);
            QObject::connect(Acao, &QAction::triggered, Destino,
                             [Destino] { ColaComoDigitacao(Destino, QClipboard::Clipboard); });
        }
    Menu->setAttribute(Qt::WA_DeleteOnClose);
    Menu->popup(Evento->globalPos());
}

// Offers a key to KeyDown and, when it types a character, to KeyPress. True when the key is used up:
// swallowed by a handler, or replaced and sent again to Destino as the new character.
template <class EmiteDown, class EmitePress>
bool FiltraTecla(QKeyEvent* Evento, QWidget* Destino, EmiteDown Down, EmitePress Press)
{
    static bool Reenviando = false; // the replacement itself is not offered again
    if (Reenviando)
        return false;
    Word Key = TeclaVirtual(Evento->key());
    if (Key != 0) {
        ExecutaProtegido([&] { Down(Key, EstadoShift(Evento->modifiers())); });
        if (Key == 0)
            return true;
    }
    const QString Texto = Evento->text();
    if (Texto.size() != 1 || !CaractereDigitado(Texto.at(0).unicode()) || (Evento->modifiers() & Qt::ControlModifier))
        return false;
    const char Original = Cp1252DeUnicode(Texto.at(0).unicode());
    char Tecla = Original;
    ExecutaProtegido([&] { Press(Tecla); });
    if (Tecla == '\0')
        return true;
    if (Tecla == Original)
        return false;
    const QString Novo(QChar(static_cast<char16_t>(Cp1252ParaUnicode(static_cast<unsigned char>(Tecla)))));
    QKeyEvent Trocado(Evento->type(), 0, Evento->modifiers(), Novo);
    Reenviando = true;
    QCoreApplication::sendEvent(Destino, &Trocado);
    Reenviando = false;
    return true;
}

// Keys the open list of a combo box keeps for itself: moving in the list, picking, closing.
bool TeclaDaLista(int Tecla)
{
    switch (Tecla) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

} // namespace

TLabel::TLabel(QWidget* Pai) : TControleComTexto(Pai) {}
void TLabel::SetCaption(const std::string& Texto)
{
    TControleComTexto::SetCaption(Texto);
    AjustaTamanho();
}
void TLabel::SetAutoSize(bool Valor)
{
    Automatico = Valor;
    AjustaTamanho();
}
void TLabel::changeEvent(QEvent* Evento)
{
    QLabel::changeEvent(Evento);
    if (Evento->type() == QEvent::FontChange)
        AjustaTamanho();
}
void TLabel::AjustaTamanho()
{
    if (Automatico && !wordWrap())
        resize(sizeHint());
}

TEdit::TEdit(QWidget* Pai) : TControle(Pai)
{
    setAcceptDrops(false); // a dropped text would skip the filters
    connect(this, &QLineEdit::textEdited, this, [this] { ExecutaProtegido([this] { emit Change(); }); });
}
std::string TEdit::Text() const { return Cp1252DeQString(text()); }
void TEdit::SetText(const std::string& Texto) { setText(QStringDeCp1252(Texto)); }
int TEdit::MaxLength() const { return maxLength() >= 32767 ? 0 : maxLength(); }
void TEdit::SetMaxLength(int Tamanho) { setMaxLength(Tamanho > 0 ? Tamanho : 32767); }

void TEdit::keyPressEvent(QKeyEvent* Evento)
{
    if (FiltraTecla(Evento, this, [&](Word& K, TShiftState S) { emit KeyDown(K, S); }, [&](char& C) { emit KeyPress(C); }))
        return;
    if (Evento->matches(QKeySequence::Paste))
        ColaComoDigitacao(this, QClipboard::Clipboard);
    else
        QLineEdit::keyPressEvent(Evento);
}
void TEdit::contextMenuEvent(QContextMenuEvent* Evento)
{
    MenuComColagemFiltrada(this, this, Evento);
}
void TEdit::mouseReleaseEvent(QMouseEvent* Evento)
{
    // X11 pastes the selection with the middle button.
    if (Evento->button() == Qt::MiddleButton) {
        if (!isReadOnly())
            ColaComoDigitacao(this, QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(Evento);
}

TComboBox::TComboBox(QWidget* Pai) : TControle(Pai), Modelo(new QStringListModel(this))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon); // never measures 10,000 entries
    setModel(Modelo);
    if (auto* Lista = qobject_cast<QListView*>(view()))
        Lista->setUniformItemSizes(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { ExecutaProtegido([this] { emit Change(); }); });
    lineEdit()->setAcceptDrops(false);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this] { ExecutaProtegido([this] { emit Change(); }); });
    // Qt picks the entry equal to the typed text (and raises activated) when the edit part loses the
    // focus or takes Enter; Windows raises no change then, so only a pick in the list is an activation.
    QObject::disconnect(lineEdit(), SIGNAL(editingFinished()), this, nullptr);
    QObject::disconnect(lineEdit(), SIGNAL(returnPressed()), this, nullptr);
    view()->installEventFilter(this);
}
TComboBox::~TComboBox()
{
    view()->removeEventFilter(this);
    lineEdit()->removeEventFilter(this);
}
std::string TComboBox::Text() const { return Cp1252DeQString(currentText()); }
void TComboBox::SetText(const std::string& Texto) { setEditText(QStringDeCp1252(Texto)); }
int TComboBox::MaxLength() const { return lineEdit()->maxLength() >= 32767 ? 0 : lineEdit()->maxLength(); }
void TComboBox::SetMaxLength(int Tamanho) { lineEdit()->setMaxLength(Tamanho > 0 ? Tamanho : 32767); }

std::vector<std::string> TComboBox::Items() const
{
    const QStringList Lista = Modelo->stringList();
    std::vector<std::string> Itens;
    Itens.reserve(static_cast<std::size_t>(Lista.size()));
    for (const QString& Item : Lista)
        Itens.push_back(Cp1252DeQString(Item));
    return Itens;
}
void TComboBox::SetItems(const std::vector<std::string>& Itens)
{
    const QString Texto = currentText();
    QStringList Lista;
    Lista.reserve(static_cast<qsizetype>(Itens.size()));
    for (const std::string& Item : Itens)
        Lista.append(QStringDeCp1252(Item));
    Modelo->setStringList(Lista);
    setCurrentIndex(-1);
    setEditText(Texto);
}
std::string TComboBox::Item(int Indice) const { return Cp1252DeQString(itemText(Indice)); }
void TComboBox::AddItem(const std::string& Item) { InsertItem(count(), Item); }
void TComboBox::InsertItem(int Indice, const std::string& Item)
{
    const QString Texto = currentText();
    const int Atual = currentIndex();
    Modelo->insertRows(Indice, 1);
    Modelo->setData(Modelo->index(Indice), QStringDeCp1252(Item));
    setCurrentIndex(Atual >= Indice && Atual >= 0 ? Atual + 1 : Atual);
    setEditText(Texto);
}
void TComboBox::ClearItems() { SetItems({}); }
void TComboBox::Clear()
{
    Modelo->setStringList({});
    setCurrentIndex(-1);
    setEditText(QString());
}
int TComboBox::IndexOf(const std::string& Item) const
{
    return findText(QStringDeCp1252(Item), Qt::MatchFixedString); // whole text, case ignored
}
int TComboBox::ItemIndex() const { return currentIndex(); }
void TComboBox::SetItemIndex(int Indice)
{
    if (Indice >= 0) {
        setCurrentIndex(Indice);
        return;
    }
    const QString Texto = currentText();
    setCurrentIndex(-1);
    setEditText(Texto);
}

bool TComboBox::DroppedDown() const { return view()->isVisible(); }
void TComboBox::SetDroppedDown(bool Aberto)
{
    if (Aberto == DroppedDown())
        return;
    if (Aberto) {
        showPopup();
        return;
    }
    FechandoPorCodigo = true;
    hidePopup();
    FechandoPorCodigo = false;
}
int TComboBox::SelStart() const { return lineEdit()->cursorPosition(); }
void TComboBox::SetSelStart(int Posicao) { lineEdit()->setCursorPosition(Posicao); }

void TComboBox::keyPressEvent(QKeyEvent* Evento)
{
    if (FiltraTecla(Evento, lineEdit(), [&](Word& K, TShiftState S) { emit KeyDown(K, S); },
                    [&](char& C) { emit KeyPress(C); }))
        return;
    if (Evento->matches(QKeySequence::Paste))
        ColaComoDigitacao(this, QClipboard::Clipboard);
    else
        QComboBox::keyPressEvent(Evento);
}

void TComboBox::hidePopup()
{
    const bool Aberto = DroppedDown();
    QComboBox::hidePopup();
    if (Aberto && !FechandoPorCodigo)
        ExecutaProtegido([this] { emit CloseUp(); });
}

bool TComboBox::eventFilter(QObject* Objeto, QEvent* Evento)
{
    // The open list takes the keyboard in Qt; what is not for the list goes on to the edit part.
    // The edit part's menu and middle button paste through the filters too.
    if (Objeto == lineEdit() && Evento->type() == QEvent::ContextMenu) {
        MenuComColagemFiltrada(lineEdit(), this, static_cast<QContextMenuEvent*>(Evento));
        return true;
    }
    if (Objeto == lineEdit() && Evento->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(Evento)->button() == Qt::MiddleButton) {
        ColaComoDigitacao(this, QClipboard::Selection);
        return true;
    }
    if (Objeto == view() && Evento->type() == QEvent::KeyPress) {
        auto* Tecla = static_cast<QKeyEvent*>(Evento);
        if (!TeclaDaLista(Tecla->key())) {
            keyPressEvent(Tecla);
            return true;
        }
    }
    return QComboBox::eventFilter(Objeto, Evento);
}

TButton::TButton(QWidget* Pai) : TControleComTexto(Pai)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { ExecutaProtegido([this] { emit Click(); }); });
}

TBitBtn::TBitBtn(QWidget* Pai) : TButton(Pai) {}

TSpeedButton::TSpeedButton(QWidget* Pai) : TControleComTexto(Pai)
{
    setFocusPolicy(Qt::NoFocus); // speed buttons never take the focus
    connect(this, &QToolButton::clicked, this, [this] { ExecutaProtegido([this] { emit Click(); }); });
}
void TSpeedButton::SetFlat(bool Plano) { setAutoRaise(Plano); }

TCheckBox::TCheckBox(QWidget* Pai) : TControleMarcavel(Pai)
{
    connect(this, &QCheckBox::clicked, this, [this] { ExecutaProtegido([this] { emit Click(); }); });
}

TRadioButton::TRadioButton(QWidget* Pai) : TControleMarcavel(Pai)
{
    connect(this, &QRadioButton::clicked, this, [this] { ExecutaProtegido([this] { emit Click(); }); });
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
    connect(Grupo, &QButtonGroup::idClicked, this, [this] { ExecutaProtegido([this] { emit Click(); }); });
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
