#include "runtime/Controls.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMetaMethod>
#include <QPointer>
#include <QResizeEvent>
#include <vector>

Word TeclaVirtual(int TeclaQt) noexcept
{
    if ((TeclaQt >= Qt::Key_A && TeclaQt <= Qt::Key_Z) || (TeclaQt >= Qt::Key_0 && TeclaQt <= Qt::Key_9))
        return static_cast<Word>(TeclaQt); // Qt's codes of letters and digits are their ASCII codes
    if (TeclaQt >= Qt::Key_F1 && TeclaQt <= Qt::Key_F24)
        return static_cast<Word>(VK_F1 + (TeclaQt - Qt::Key_F1));
    switch (TeclaQt) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Minus: return 0xBD;     // VK_OEM_MINUS
    case Qt::Key_Plus: return 0xBB;      // VK_OEM_PLUS
    case Qt::Key_Comma: return 0xBC;     // VK_OEM_COMMA
    case Qt::Key_Period: return 0xBE;    // VK_OEM_PERIOD
    case Qt::Key_Semicolon: return 0xBA; // VK_OEM_1
    case Qt::Key_Slash: return 0xBF;     // VK_OEM_2
    default: return 0;
    }
}

TShiftState EstadoShift(Qt::KeyboardModifiers Modificadores) noexcept
{
    TShiftState Estado = 0;
    if (Modificadores & Qt::ShiftModifier)
        Estado |= ssShift;
    if (Modificadores & Qt::AltModifier)
        Estado |= ssAlt;
    if (Modificadores & Qt::ControlModifier)
        Estado |= ssCtrl;
    return Estado;
}

namespace {

// Keeps a control's distances to the anchored sides of its parent. The first size the parent is laid
// out at is the one the form layout was made for; every later resize moves or stretches the control
// by the change.
class TVigiaAncoras : public QObject {
public:
    TVigiaAncoras(QWidget* Controle, QWidget* Pai) : QObject(Controle), Controle(Controle)
    {
        if (Pai->isVisible())
            Ultimo = Pai->size(); // else the first size the parent is laid out at
        Pai->installEventFilter(this);
    }
    TAnchors Ancoras = akLeft | akTop;

protected:
    bool eventFilter(QObject* Objeto, QEvent* Evento) override
    {
        if (Evento->type() == QEvent::Resize && Objeto == Controle->parentWidget())
            Ajusta(static_cast<QResizeEvent*>(Evento)->size());
        return false;
    }

private:
    void Ajusta(QSize Novo)
    {
        if (!Ultimo.isValid() || Ultimo.isEmpty()) {
            Ultimo = Novo; // not laid out yet (a page of a page control starts at 0 x 0)
            return;
        }
        const int DX = Novo.width() - Ultimo.width(), DY = Novo.height() - Ultimo.height();
        Ultimo = Novo;
        QRect G = Controle->geometry();
        Estica(G, DX, Ancoras & akLeft, Ancoras & akRight, true);
        Estica(G, DY, Ancoras & akTop, Ancoras & akBottom, false);
        Controle->setGeometry(G);
    }
    static void Estica(QRect& G, int Delta, bool Inicio, bool Fim, bool Horizontal)
    {
        if (Delta == 0 || (Inicio && !Fim))
            return;
        if (Horizontal) {
            if (Inicio)
                G.setWidth(std::max(G.width() + Delta, 0));
            else if (Fim)
                G.translate(Delta, 0);
            else
                G.translate(Delta / 2, 0); // neither side: keeps its place relative to the centre
        } else {
            if (Inicio)
                G.setHeight(std::max(G.height() + Delta, 0));
            else if (Fim)
                G.translate(0, Delta);
            else
                G.translate(0, Delta / 2);
        }
    }

    QWidget* Controle;
    QSize Ultimo;
};

// The controls of one window in the order the focus last was in them, for Enter and Exit.
struct TFocoJanela {
    QPointer<QWidget> Janela, Ultimo;
};
std::vector<TFocoJanela>& FocoPorJanela()
{
    static std::vector<TFocoJanela> Lista;
    return Lista;
}

std::vector<QPointer<QWidget>> Cadeia(QWidget* W, QWidget* Janela)
{
    std::vector<QPointer<QWidget>> Lista;
    for (; W && W != Janela; W = W->parentWidget())
        Lista.emplace_back(W);
    return Lista;
}

bool Contem(const std::vector<QPointer<QWidget>>& Lista, const QWidget* W)
{
    return std::find(Lista.begin(), Lista.end(), W) != Lista.end();
}

void Emite(QWidget* W, const char* Sinal)
{
    const QMetaObject* Meta = W->metaObject();
    const int Indice = Meta->indexOfSignal(Sinal);
    if (Indice >= 0)
        ExecutaProtegido([&] { Meta->method(Indice).invoke(W, Qt::DirectConnection); });
}

void FocoMudou(QWidget* Novo)
{
    if (!Novo)
        return; // the window lost the focus; its controls keep it, as on Windows
    QWidget* Janela = Novo->window();
    if (Janela->windowType() == Qt::Popup)
        return; // a combo box's open list belongs to the combo box
    auto& Lista = FocoPorJanela();
    Lista.erase(std::remove_if(Lista.begin(), Lista.end(), [](const TFocoJanela& F) { return !F.Janela; }), Lista.end());
    auto It = std::find_if(Lista.begin(), Lista.end(), [&](const TFocoJanela& F) { return F.Janela == Janela; });
    if (It == Lista.end())
        It = Lista.insert(Lista.end(), {Janela, nullptr});
    QWidget* Anterior = It->Ultimo;
    It->Ultimo = Novo;
    if (Anterior == Novo)
        return;
    const auto Saem = Cadeia(Anterior, Janela), Entram = Cadeia(Novo, Janela);
    for (const QPointer<QWidget>& W : Saem)
        if (W && !Contem(Entram, W))
            Emite(W, "Exit()");
    for (auto W = Entram.rbegin(); W != Entram.rend(); ++W)
        if (*W && !Contem(Saem, *W))
            Emite(*W, "Enter()");
}

const char* const PropriedadeOrdem = "kovanTabOrder";

} // namespace

void AplicaAncoras(QWidget* W, TAnchors Ancoras)
{
    TVigiaAncoras* Vigia = nullptr;
    for (QObject* Filho : W->children())
        if (!Vigia)
            Vigia = dynamic_cast<TVigiaAncoras*>(Filho);
    if (!Vigia && W->parentWidget())
        Vigia = new TVigiaAncoras(W, W->parentWidget());
    if (Vigia)
        Vigia->Ancoras = Ancoras;
}

void DefineOrdemTab(QWidget* W, int Ordem) { W->setProperty(PropriedadeOrdem, Ordem); }

int OrdemTab(const QWidget* W)
{
    const QVariant Valor = W->property(PropriedadeOrdem);
    return Valor.isValid() ? Valor.toInt() : -1;
}

void DefineTabStop(QWidget* W, bool Para)
{
    // A page control takes the focus through its tab bar, its focus proxy.
    for (QWidget* Alvo : {W, W->focusProxy()})
        if (Alvo && Alvo->focusPolicy() != Qt::NoFocus)
            Alvo->setFocusPolicy(Para ? Qt::StrongFocus : Qt::ClickFocus);
}

void DefineFonte(QWidget* W, const std::string& Familia, int Altura)
{
    QFont Fonte = W->font();
    Fonte.setFamily(QStringDeCp1252(Familia));
    if (Altura < 0) {
        Fonte.setPixelSize(-Altura);
    } else if (Altura > 0) {
        // A cell height: the largest character size whose line height fits it.
        int Tamanho = Altura;
        do {
            Fonte.setPixelSize(Tamanho);
        } while (--Tamanho > 1 && QFontMetrics(Fonte).height() > Altura);
    }
    W->setFont(Fonte);
}

void DefineCorFonte(QWidget* W, const QColor& Cor)
{
    QPalette Paleta = W->palette();
    for (QPalette::ColorGroup Grupo : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole Papel : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            Paleta.setColor(Grupo, Papel, Cor.isValid() ? Cor : QApplication::palette(W).color(Grupo, Papel));
    W->setPalette(Paleta);
}

QColor CorTextoCinza() { return QApplication::palette().color(QPalette::Disabled, QPalette::WindowText); }

void AcompanhaFoco()
{
    static QPointer<QApplication> Ligado;
    auto* App = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!App || Ligado == App)
        return;
    Ligado = App;
    QObject::connect(App, &QApplication::focusChanged, App, [](QWidget*, QWidget* Novo) { FocoMudou(Novo); });
}
