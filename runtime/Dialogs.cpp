#include "runtime/Dialogs.h"

#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/Texto.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace {

KovanMessageBoxHandler Tratador = nullptr;
void* Contexto = nullptr;

int BotaoPadrao(unsigned int Flags)
{
    if ((Flags & 0xF) == MB_YESNO)
        return (Flags & MB_DEFBUTTON2) ? IDNO : IDYES;
    return IDOK;
}

int MostraQMessageBox(const char* Texto, const char* Titulo, unsigned int Flags)
{
    InstalaTraducaoQt();
    QMessageBox Caixa;
    Caixa.setWindowTitle(QStringDeCp1252(Titulo));
    Caixa.setText(QStringDeCp1252(Texto));
    switch (Flags & 0xF0) {
    case MB_ICONERROR: Caixa.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: Caixa.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: Caixa.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: Caixa.setIcon(QMessageBox::Information); break;
    }
    if ((Flags & 0xF) == MB_YESNO) {
        Caixa.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        Caixa.setDefaultButton((Flags & MB_DEFBUTTON2) ? QMessageBox::No : QMessageBox::Yes);
        Caixa.setEscapeButton(QMessageBox::No);
        return Caixa.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    Caixa.setStandardButtons(QMessageBox::Ok);
    Caixa.exec();
    return IDOK;
}

} // namespace

void KovanSetMessageBoxHandler(KovanMessageBoxHandler handler, void* context)
{
    Tratador = handler;
    Contexto = context;
}

int KovanMessageBox(const char* text, const char* caption, unsigned int flags)
{
    text = text ? text : "";
    caption = caption ? caption : "";
    if (Tratador)
        return Tratador(Contexto, text, caption, flags);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return MostraQMessageBox(text, caption, flags);
    std::fprintf(stderr, "%s: %s\n", Cp1252ParaUtf8(caption).c_str(), Cp1252ParaUtf8(text).c_str());
    return BotaoPadrao(flags);
}

int MessageBox(const std::string& Texto, const std::string& Titulo, unsigned int Flags)
{
    return KovanMessageBox(Texto.c_str(), Titulo.c_str(), Flags);
}

bool RenomeiaBotoesSimNao(const std::string& Titulo, const std::string& Sim, const std::string& Nao)
{
    auto* Caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!Caixa || Caixa->windowTitle() != QStringDeCp1252(Titulo))
        return false;
    QAbstractButton* BotaoSim = Caixa->button(QMessageBox::Yes);
    QAbstractButton* BotaoNao = Caixa->button(QMessageBox::No);
    if (!BotaoSim || !BotaoNao)
        return false;
    BotaoSim->setText(QStringDeCp1252(Sim));
    BotaoNao->setText(QStringDeCp1252(Nao));
    return true;
}
