#include "support/ConfigComponentes.h"

#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
#include "runtime/Grids.h"
#include "runtime/IniFiles.h"
#include "runtime/StdCtrls.h"
#include "support/RaizTraducao.h"

#include <QtTest>
#include <memory>

namespace {

/// A toolkit control named Nome under Pai, with its caption or text (CP1252).
template <class T, class TPai>
T* Cria(TPai* Pai, const char* Nome, const char* Texto = "")
{
    auto* Controle = new T(Pai);
    Controle->setObjectName(Nome);
    if constexpr (requires { Controle->SetCaption(Texto); })
        Controle->SetCaption(Texto);
    else if constexpr (requires { Controle->SetText(Texto); })
        Controle->SetText(Texto);
    return Controle;
}

// A screen built from the toolkit classes the way a form layout builds one.
class TFormTeste : public TForm {
public:
    TFormTeste()
    {
        setObjectName("FormTeste");
        SetCaption("Formul\xE1rio Teste");
        Grid->SetColCount(2);
        Grid->SetCells(0, 0, "Bin ou Intervalo de Bins");
        Grid->SetCells(1, 0, "Nome");
        Grid->SetCells(0, 1, "Salvar"); // a data cell is never translated
        Abas->SetTabs({"D\xE9""bito", "Salvar"});
        Combo->SetHint("Salvar");
    }

    TLabel* Label1 = Cria<TLabel>(this, "Label1", "C\xF3""digo de Estabelecimento:");
    TLabel* Label2 = Cria<TLabel>(this, "Label2", "Sem tradu\xE7\xE3o");
    TLabel* LabelVazio = Cria<TLabel>(this, "LabelVazio");
    TStringGrid* Grid = Cria<TStringGrid>(this, "GridBins");
    TPageControl* Paginas = Cria<TPageControl>(this, "PageControlEstab");
    TTabSheet* Pagina1 = Cria<TTabSheet>(Paginas, "TabSheet1", "D\xE9""bito");
    TBitBtn* Salvar = Cria<TBitBtn>(Pagina1, "BitBtnSalvar", "Salvar");
    TTabSet* Abas = Cria<TTabSet>(this, "TabSet1");
    TEdit* Edit = Cria<TEdit>(this, "Edit1", "Salvar");
    TComboBox* Combo = Cria<TComboBox>(this, "ComboBox1", "Salvar");
    TCheckBox* Marca = Cria<TCheckBox>(this, "CheckBox1", "Salvar");
    TPanel* Painel = Cria<TPanel>(this, "Panel1", "Salvar");
    TGroupBox* Grupo = Cria<TGroupBox>(this, "GroupBox1", "Tipo");
    TSpeedButton* Rapido = Cria<TSpeedButton>(this, "SpeedButton1", "Salvar");
    TRadioButton* Opcao = Cria<TRadioButton>(Grupo, "RadioButton1", "Um");
};

const char* const DicionarioPadrao =
    "[TabTraducao]\r\n[Geral]\r\nFormul\xE1rio Teste=Formulario Prueba\r\n"
    "C\xF3""digo de Estabelecimento:=C\xF3""digo de Establecimiento:\r\n"
    "Bin ou Intervalo de Bins=Bin o Intervalo de Bins\r\nD\xE9""bito=D\xE9""bito ES\r\nD\xE9""bito ES=D\xE9""bito ES2\r\n"
    "Salvar=Guardar\r\nTipo=Clase\r\nUm=Uno\r\n";

} // namespace

class ConfigComponentesTeste : public QObject {
    Q_OBJECT

private slots:
    // The first showing writes what it translates to the store; after that the store decides (a hand
    // correction is obeyed, a changed dictionary entry is not). The translator made before serves another
    // dictionary; without a dictionary file, or one not named exactly "ESP_CfKovan.ini", nothing is translated.
    void PrimeiraVezGravaDepoisOArmazemDecide()
    {
        const TRaizTraducao Raiz;
        const auto Dicionario = Raiz.Config() / "ESP_CfKovan.ini", Armazem = Raiz.Config() / "ESP_CfKovan.esp";
        TRaizTeste::Grava(Dicionario, DicionarioPadrao);
        Raiz.NomeiaDicionario(Dicionario.string());
        std::unique_ptr<TInternacional> ConfigComp;
        TFormTeste Form;
        IniciaTraducao(ConfigComp, Form);
        QVERIFY(ConfigComp);

        // The page: once under the page control's key, again under its own name; a data cell stays.
        const std::pair<std::string, const char*> Textos[] = {
            {Form.Caption(), "Formulario Prueba"}, {Form.Label1->Caption(), "C\xF3""digo de Establecimiento:"},
            {Form.Label2->Caption(), "Sem tradu\xE7\xE3o"}, {Form.Grid->Cells(0, 0), "Bin o Intervalo de Bins"},
            {Form.Grid->Cells(1, 0), "Nome"}, {Form.Grid->Cells(0, 1), "Salvar"},
            {Form.Pagina1->Caption(), "D\xE9""bito ES2"}, {Form.Salvar->Caption(), "Guardar"},
            {Form.Paginas->tabText(0).toStdString(), "D\xC3\xA9""bito ES2"}, {Form.Edit->Text(), "Guardar"},
            {Form.Marca->Caption(), "Guardar"}, {Form.Painel->Caption(), "Guardar"}, {Form.Grupo->Caption(), "Clase"},
            {Form.Rapido->Caption(), "Guardar"}, {Form.Opcao->Caption(), "Uno"},
        };
        for (const auto& [Atual, Esperado] : Textos)
            QCOMPARE(QByteArray::fromStdString(Atual), QByteArray(Esperado));
        QCOMPARE(Form.Abas->Tabs(), (std::vector<std::string>{"D\xE9""bito ES", "Guardar"}));
        // Stored depth first in creation order, between double quotes so blanks at either end survive; an
        // empty text and a combo box are not stored.
        QCOMPARE(TRaizTeste::Le(Armazem),
                 std::string("[FormTeste]\r\nFormTeste=\"Formulario Prueba\"\r\n"
                             "Label1=\"C\xF3""digo de Establecimiento:\"\r\nLabel2=\"Sem tradu\xE7\xE3o\"\r\n"
                             "GridBins_Col0=\"Bin o Intervalo de Bins\"\r\nGridBins_Col1=\"Nome\"\r\n"
                             "PageControlEstab_Pag0=\"D\xE9""bito ES\"\r\nTabSheet1=\"D\xE9""bito ES2\"\r\n"
                             "BitBtnSalvar=\"Guardar\"\r\nTabSet1_Aba0=\"D\xE9""bito ES\"\r\nTabSet1_Aba1=\"Guardar\"\r\n"
                             "Edit1=\"Guardar\"\r\nCheckBox1=\"Guardar\"\r\nPanel1=\"Guardar\"\r\nGroupBox1=\"Clase\"\r\n"
                             "RadioButton1=\"Uno\"\r\nSpeedButton1=\"Guardar\"\r\n"));

        TInternacional* Anterior = ConfigComp.get();
        const auto Outro = Raiz.Config() / "Outro.ini";
        TRaizTeste::Grava(Outro, "[Geral]\r\nC\xF3""digo de Estabelecimento:=Outro\r\n");
        Raiz.NomeiaDicionario(Outro.string());
        TIniFile Armazenamento(Armazem.string());
        Armazenamento.WriteString("FormTeste", "Label2", "\" Corrigido \"");
        Armazenamento.WriteString("FormTeste", "LabelVazio", "\"Agora tem\"");
        TFormTeste Segunda;
        IniciaTraducao(ConfigComp, Segunda);
        QCOMPARE(ConfigComp.get(), Anterior);
        QCOMPARE(Segunda.Label1->Caption(), std::string("C\xF3""digo de Establecimiento:"));
        QCOMPARE(Segunda.Label2->Caption(), std::string(" Corrigido "));
        QCOMPARE(Segunda.LabelVazio->Caption(), std::string("Agora tem"));

        Raiz.NomeiaDicionario((Raiz.Config() / "nada.ini").string());
        TFormTeste Terceira;
        IniciaTraducao(ConfigComp, Terceira);
        QCOMPARE(Terceira.Salvar->Caption(), std::string("Salvar"));

        for (const char* Nome : {"esp_cfkovan.ini", "ESP_CfKovan.INI", "ENG_CfKovan.ini"}) {
            const auto Dele = Raiz.Config() / "sub" / Nome;
            TRaizTeste::Grava(Dele, DicionarioPadrao);
            Raiz.NomeiaDicionario(Dele.string());
            std::unique_ptr<TInternacional> Nenhum;
            TFormTeste Quarta;
            IniciaTraducao(Nenhum, Quarta);
            QVERIFY2(!Nenhum, Nome);
            QCOMPARE(Quarta.Salvar->Caption(), std::string("Salvar"));
        }
    }
};

QTEST_MAIN(ConfigComponentesTeste)
#include "ConfigComponentes_test.moc"
