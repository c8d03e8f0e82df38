// Loading and unloading the module as the host does: dlopen, Initialize, screens by class name,
// Finalize, dlclose.
#include "ModuloCarregado.h"
#include "runtime/Classes.h"
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <vector>

namespace {

const char* const NomesDasTelas[] = {"TFormEstabelecimento_167171", "TFormTransHab_167171", "TFormTabelaBins_167171"};

struct TCaixa {
    std::string Texto, Titulo;
    unsigned int Flags;
};

int Registra(void* Contexto, const char* Texto, const char* Titulo, unsigned int Flags)
{
    static_cast<std::vector<TCaixa>*>(Contexto)->push_back({Texto, Titulo, Flags});
    return IDOK;
}

TForm* FormDeOutroModulo(QWidget* Owner)
{
    return new TForm(Owner);
}

class Registro : public ::testing::Test {
protected:
    void SetUp() override { KovanSetMessageBoxHandler(Registra, &Caixas); }
    void TearDown() override { KovanSetMessageBoxHandler(nullptr, nullptr); }

    void Carrega()
    {
        Modulo = std::make_unique<TModuloCarregado>();
        Modulo->Funcao<void (*)()>("Initialize")();
    }
    void Descarrega()
    {
        Modulo->Funcao<void (*)()>("Finalize")();
        Modulo.reset();
    }

    std::vector<TCaixa> Caixas;
    std::unique_ptr<TModuloCarregado> Modulo;
};

} // namespace

TEST_F(Registro, RegistraAsTresTelasERemoveNoFim)
{
    Carrega();
    for (const char* Nome : NomesDasTelas)
        EXPECT_NE(GetClass(Nome), nullptr) << Nome;
    EXPECT_TRUE(Caixas.empty());
    Descarrega();
    for (const char* Nome : NomesDasTelas)
        EXPECT_EQ(GetClass(Nome), nullptr) << Nome;
}

TEST_F(Registro, NomeJaRegistradoMostraErroE4)
{
    struct { const char* Nome; unsigned int Flags; } Casos[] = {
        {"TFormEstabelecimento_167171", MB_OK | MB_ICONERROR},
        {"TFormTransHab_167171", MB_OK},
        {"TFormTabelaBins_167171", MB_OK},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Nome);
        Caixas.clear();
        const TFormClass Outra{Caso.Nome, FormDeOutroModulo};
        ASSERT_TRUE(RegisterClass(Outra));
        Carrega();
        ASSERT_EQ(Caixas.size(), 1u);
        EXPECT_EQ(Caixas[0].Texto, "ERRO E4");
        EXPECT_EQ(Caixas[0].Titulo, "Mirabelo");
        EXPECT_EQ(Caixas[0].Flags, Caso.Flags);
        EXPECT_EQ(GetClass(Caso.Nome), &Outra) << "the other module's class stays";
        for (const char* Nome : NomesDasTelas)
            EXPECT_NE(GetClass(Nome), nullptr) << Nome;
        Descarrega();
        EXPECT_EQ(GetClass(Caso.Nome), &Outra) << "unloading leaves the other module's class";
        UnRegisterClass(Outra);
        for (const char* Nome : NomesDasTelas)
            EXPECT_EQ(GetClass(Nome), nullptr) << Nome;
    }
}

TEST_F(Registro, HostCriaTelasPeloNome)
{
    static int Argc = 1;
    static char Nome[] = "cfMirabelo_test";
    static char* Argv[] = {Nome, nullptr};
    static QApplication App(Argc, Argv);

    Carrega();
    struct { const char* Classe; const char* Base; } Telas[] = {
        {"TFormEstabelecimento_167171", "TFormPadraoCfgEstab"},
        {"TFormTransHab_167171", "TFormPadraoCfgTransHab"},
        {"TFormTabelaBins_167171", "TFormPadraoCfgBins_B"},
    };
    for (const auto& Tela : Telas) {
        std::unique_ptr<TForm> Form(CriaFormPorNome(Tela.Classe, nullptr));
        ASSERT_NE(Form, nullptr) << Tela.Classe;
        EXPECT_STREQ(Form->metaObject()->className(), Tela.Classe);
        EXPECT_TRUE(Form->inherits(Tela.Base));
        EXPECT_TRUE(Form->inherits("TFormPadraoCfgEstab"));
    }
    EXPECT_EQ(CriaFormPorNome("TFormQueNaoExiste", nullptr), nullptr);
    Descarrega();
}
