#include "host/Configurador.h"

#include "runtime/Classes.h"
#include "runtime/Forms.h"
#include "runtime/Texto.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <cstring>

namespace {

TConfigurador* Atual = nullptr;

const QString Convite = QStringLiteral("Enter or a double click opens a screen.");

// A reply overwrites the preset text, never more characters than it holds.
void Responde(char* Texto, const std::string& Valor)
{
    const std::size_t Cabe = std::strlen(Texto);
    std::memcpy(Texto, Valor.data(), std::min(Cabe, Valor.size()));
}

std::string Campo(const char* Texto, std::size_t Tamanho) { return std::string(Texto, strnlen(Texto, Tamanho)); }

} // namespace

std::vector<TTela> TelasDoDescritor(const TInfoModulo& Info)
{
    std::vector<TTela> Telas;
    const std::size_t Quantas = std::min<std::size_t>(Info.QtdTelas, std::size(Info.Telas));
    for (std::size_t I = 0; I < Quantas; ++I)
        Telas.push_back({Campo(Info.Telas[I].Legenda, sizeof Info.Telas[I].Legenda),
                         Campo(Info.Telas[I].ClasseForm, sizeof Info.Telas[I].ClasseForm)});
    return Telas;
}

TConfigurador::TConfigurador(std::vector<TTela> TelasModulo, const std::string& Titulo, char Digito)
    : Telas(std::move(TelasModulo)), ListaTelas(new QListWidget(this)), DigitoModo(Digito)
{
    setWindowTitle(QStringDeCp1252(Titulo));
    for (const TTela& Tela : Telas)
        ListaTelas->addItem(QStringDeCp1252(Tela.Legenda));
    ListaTelas->setCurrentRow(0);
    setCentralWidget(ListaTelas);
    statusBar()->showMessage(Convite);
    resize(420, 260);
    // Enter, or a double click, on a caption opens its screen.
    ListaTelas->installEventFilter(this);
    ListaTelas->viewport()->installEventFilter(this);
    Atual = this;
}

bool TConfigurador::eventFilter(QObject* Objeto, QEvent* Evento)
{
    int Linha = -1;
    if (Objeto == ListaTelas && Evento->type() == QEvent::KeyPress) {
        const int Tecla = static_cast<QKeyEvent*>(Evento)->key();
        if (Tecla == Qt::Key_Return || Tecla == Qt::Key_Enter)
            Linha = ListaTelas->currentRow();
    } else if (Objeto == ListaTelas->viewport() && Evento->type() == QEvent::MouseButtonDblClick) {
        Linha = ListaTelas->indexAt(static_cast<QMouseEvent*>(Evento)->position().toPoint()).row();
    }
    if (Linha < 0 || Linha >= static_cast<int>(Telas.size()))
        return QMainWindow::eventFilter(Objeto, Evento);
    Abre(Telas[static_cast<std::size_t>(Linha)].Classe);
    return true;
}

TConfigurador::~TConfigurador()
{
    FechaTodas();
    if (Atual == this)
        Atual = nullptr;
}

void TConfigurador::Notificacao(std::int32_t, std::int32_t Codigo, char* Texto)
{
    if (Atual && Texto)
        Atual->Recebe(Codigo, Texto);
}

void TConfigurador::Recebe(std::int32_t Codigo, char* Texto)
{
    TTroca Troca{Codigo, Texto, {}};
    switch (Codigo) {
    case NotificaTelaFechada:
        // The screen closed itself; one that is still open is closed now. Either is deleted once its
        // handler has returned.
        if (auto* Form = qobject_cast<TForm*>(QApplication::activeWindow()); Form && Form->isVisible())
            QTimer::singleShot(0, Form, [Form] { Form->close(); });
        break;
    case NotificaDica: statusBar()->showMessage(QStringDeCp1252(Texto)); break;
    case NotificaEmpresaEscolhida: EmpresaEscolhida = Texto; break;
    case PerguntaEmpresaHost: Responde(Texto, EmpresaEscolhida); break;
    case PerguntaModoHost: Responde(Texto, std::string(1, DigitoModo)); break;
    case NotificaGrupoEscolhido: GrupoEscolhido = Texto; break;
    case PerguntaGrupoHost:
        if (!GrupoEscolhido.empty())
            Responde(Texto, GrupoEscolhido);
        break;
    case PerguntaModoSelecao: Responde(Texto, ModoSelecao); break;
    case NotificaModoSelecao: ModoSelecao = Texto; break;
    case PerguntaValorHost: Responde(Texto, ValorHost); break;
    default: break; // the screen was shown, a valid choice: nothing to answer
    }
    if (Codigo == PerguntaEmpresaHost || Codigo == PerguntaModoHost || Codigo == PerguntaGrupoHost ||
        Codigo == PerguntaModoSelecao || Codigo == PerguntaValorHost)
        Troca.Resposta = Texto;
    Historico.push_back(std::move(Troca));
}

TForm* TConfigurador::Abre(const std::string& Classe)
{
    TForm* Form = CriaFormPorNome(Classe, nullptr);
    if (!Form) {
        statusBar()->showMessage(QStringLiteral("No screen class %1").arg(QString::fromStdString(Classe)));
        return nullptr;
    }
    Form->setAttribute(Qt::WA_DeleteOnClose);
    Telas_Abertas.emplace_back(Form);
    Form->show();
    Form->activateWindow();
    return Form;
}

void TConfigurador::MostraNivel(const std::string& Descricao)
{
    if (!Nivel) {
        Nivel = new QLabel(this);
        Nivel->setObjectName("LabelNivel");
        statusBar()->addPermanentWidget(Nivel);
    }
    Nivel->setText(QString::fromStdString(Descricao));
    // The invitation and the screens' hints need room beside it (and the size grip after it).
    const int Largura = Nivel->sizeHint().width() + statusBar()->fontMetrics().horizontalAdvance(Convite) +
                        3 * statusBar()->fontMetrics().height();
    if (width() < Largura)
        resize(Largura, height());
}

std::vector<TForm*> TConfigurador::Abertas() const
{
    std::vector<TForm*> Lista;
    for (const QPointer<TForm>& Form : Telas_Abertas)
        if (Form)
            Lista.push_back(Form);
    return Lista;
}

void TConfigurador::FechaTodas()
{
    for (QPointer<TForm>& Form : Telas_Abertas)
        delete Form.data();
    Telas_Abertas.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
