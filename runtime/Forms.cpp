#include "runtime/Forms.h"

#include "runtime/Application.h"
#include "runtime/Dialogs.h"
#include "runtime/Texto.h"

#include <QCoreApplication>
#include <QEvent>
#include <exception>

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

TForm::TForm(QWidget* Owner) : QWidget(Owner) {}

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

void TForm::TrataMensagem(int) {}
