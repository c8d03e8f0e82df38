#include "runtime/Forms.h"

#include "runtime/Application.h"
#include "runtime/Dialogs.h"
#include "runtime/StdCtrls.h"
#include "runtime/Texto.h"

#include <QApplication>
#include <QProgressDialog>
#include <QEvent>
#include <QCloseEvent>
#include <QKeyEvent>
#include <algorithm>
#include <exception>
#include <vector>

void ExecutaProtegido(const std::function<void()>& Acao) noexcept
{
    try {
        Acao();
    } catch (const std::exception& Erro) {
        MessageBox(Erro.what(), Application().Title, MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBox("Erro desconhecido.", Application().Title, MB_OK | MB_ICONERROR);
    }
}

namespace {

// The toolkit controls directly under Pai, looking through the Qt widgets that only hold them (a page
// control's page stack), in tab order.
std::vector<QWidget*> ControlesEmOrdem(QWidget* Pai)
{
    std::vector<QWidget*> Controles;
    std::vector<QWidget*> Pendentes{Pai};
    while (!Pendentes.empty()) {
        QWidget* Atual = Pendentes.back();
        Pendentes.pop_back();
        for (QObject* Filho : Atual->children()) {
            auto* W = qobject_cast<QWidget*>(Filho);
            if (!W || W->isWindow())
                continue;
            if (W->property("kovanControle").toBool())
                Controles.push_back(W);
            else if (W->focusProxy() == nullptr)
                Pendentes.push_back(W);
        }
    }
    std::stable_sort(Controles.begin(), Controles.end(), [](QWidget* A, QWidget* B) {
        const unsigned OA = static_cast<unsigned>(OrdemTab(A)), OB = static_cast<unsigned>(OrdemTab(B));
        return OA < OB; // -1 (none) sorts last
    });
    return Controles;
}

void JuntaCadeia(QWidget* Pai, std::vector<QWidget*>& Cadeia)
{
    for (QWidget* W : ControlesEmOrdem(Pai)) {
        if (W->focusPolicy() & Qt::TabFocus)
            Cadeia.push_back(W);
        JuntaCadeia(W, Cadeia);
    }
}

TButton* BotaoCom(const QWidget* Form, bool (TButton::*Propriedade)() const)
{
    for (TButton* Botao : Form->findChildren<TButton*>())
        if ((Botao->*Propriedade)() && Botao->isVisible() && Botao->isEnabled())
            return Botao;
    return nullptr;
}

} // namespace

TForm::TForm(QWidget* Owner) : QWidget(Owner)
{
    AcompanhaFoco();
    InstalaTraducaoQt();
}

std::string TForm::Caption() const
{
    return Cp1252DeQString(windowTitle());
}

void TForm::SetCaption(const std::string& Texto)
{
    setWindowTitle(QStringDeCp1252(Texto));
}

void TForm::PostMessage(int Mensagem)
{
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(Mensagem)));
}

void TForm::AplicaOrdemTab()
{
    std::vector<QWidget*> Cadeia;
    JuntaCadeia(this, Cadeia);
    for (std::size_t I = 1; I < Cadeia.size(); ++I)
        QWidget::setTabOrder(Cadeia[I - 1], Cadeia[I]);
}

TButton* TForm::BotaoCancelar() const { return BotaoCom(this, &TButton::Cancel); }
TButton* TForm::BotaoPadrao() const { return BotaoCom(this, &TButton::Default); }

bool TForm::event(QEvent* Evento)
{
    const int Tipo = static_cast<int>(Evento->type());
    if (Tipo > QEvent::User && Tipo <= QEvent::MaxUser) {
        ExecutaProtegido([&] { TrataMensagem(Tipo); });
        return true;
    }
    bool Tratado = false;
    ExecutaProtegido([&] { Tratado = QWidget::event(Evento); });
    return Tratado;
}

void TForm::showEvent(QShowEvent* Evento)
{
    QWidget::showEvent(Evento);
    if (Mostrado || Evento->spontaneous())
        return;
    Mostrado = true;
    AplicaOrdemTab();
    ExecutaProtegido([this] { FormShow(); });
}

void TForm::keyPressEvent(QKeyEvent* Evento)
{
    TButton* Botao = nullptr;
    if (Evento->key() == Qt::Key_Escape && Evento->modifiers() == Qt::NoModifier) {
        Botao = BotaoCancelar();
    } else if (Evento->key() == Qt::Key_Return || Evento->key() == Qt::Key_Enter) {
        Botao = qobject_cast<TButton*>(QApplication::focusWidget());
        if (!Botao)
            Botao = BotaoPadrao();
    }
    if (Botao)
        Botao->click();
    else
        QWidget::keyPressEvent(Evento);
}

void TForm::closeEvent(QCloseEvent* Evento)
{
    TButton* Cancelar = Evento->spontaneous() ? BotaoCancelar() : nullptr;
    if (!Cancelar) {
        QWidget::closeEvent(Evento);
        return;
    }
    Evento->ignore();
    Cancelar->click();
}

void TForm::TrataMensagem(int) {}

void TScreen::SetCursor(TCursor Cursor)
{
    if (Cursor == Atual)
        return;
    if (Atual != crDefault)
        QApplication::restoreOverrideCursor();
    if (Cursor == crHourGlass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (Cursor != crDefault)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    Atual = Cursor;
}

TScreen& Screen()
{
    static TScreen Tela;
    return Tela;
}

TProgresso::TProgresso(const std::string& Texto, int Total, bool Cancelavel)
    : Texto(QStringDeCp1252(Texto)), Total(Total), Cancelavel(Cancelavel), CursorSalvo(Screen().Cursor()),
      Inicio(std::chrono::steady_clock::now())
{
    Screen().SetCursor(crHourGlass);
}

TProgresso::~TProgresso()
{
    Janela.reset();
    Screen().SetCursor(CursorSalvo);
}

bool TProgresso::Avanca(int Feitos)
{
    using namespace std::chrono_literals;
    if (!Janela && std::chrono::steady_clock::now() - Inicio >= 500ms &&
        qobject_cast<QApplication*>(QCoreApplication::instance())) {
        InstalaTraducaoQt();
        const QString Cancelar = Cancelavel ? QCoreApplication::translate("QProgressDialog", "Cancel") : QString();
        Janela = std::make_unique<QProgressDialog>(Texto, Cancelar, 0, Total);
        Janela->setWindowModality(Qt::ApplicationModal);
        Janela->setAutoReset(false);
        Janela->setAutoClose(false);
        Janela->setMinimumDuration(0);
        Janela->show();
    }
    if (!Janela)
        return true;
    Janela->setValue(Feitos); // a modal progress window lets events through: the Cancel button works
    return !Janela->wasCanceled();
}
