// A module built against the installed runtime alone (its headers, pkg-config file and library): a
// form class registered by name, created by the registry and drawn offscreen, CP1252 text both ways.
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/Classes.h"
#include "runtime/Forms.h"

#include <QApplication>
#include <cstdio>

namespace {

class TFormExemplo : public TForm {
public:
    using TForm::TForm;

protected:
    void FormCreate() override { SetCaption(Utf8ParaCp1252("Configuração")); }
};

TForm* CriaExemplo(QWidget* Dono)
{
    return new TFormExemplo(Dono);
}

const TFormClass ClasseExemplo{"TFormExemplo", CriaExemplo};

} // namespace

int main(int Argc, char** Argv)
{
    QApplication App(Argc, Argv);
    Application().SetExeName("/etc/kovan/exemplo");
    if (!RegisterClass(ClasseExemplo) || GetClass("tformexemplo") != &ClasseExemplo)
        return std::puts("the registry does not hold the class"), 1;
    TForm* Form = CriaFormPorNome("TFormExemplo", nullptr);
    const bool Certo = Form && Cp1252ParaUtf8(Form->Caption()) == "Configuração" &&
                       Application().ExeName() == "/etc/kovan/exemplo" && !Form->grab().isNull();
    delete Form;
    UnRegisterClass(ClasseExemplo);
    if (!Certo || GetClass("TFormExemplo"))
        return std::puts("the form created through the registry is not the module's"), 1;
    return 0;
}
