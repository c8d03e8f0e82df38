// "Transações Habilitadas", driven as a person drives it: the defaults of a company never saved, the
// installment checks on save, the write order and the audit lines, cancel, delete for one or all
// companies, the keys of the company box and where the focus goes.
#include "TelaTeste.h"
#include "platform/Ascii.h"

#include <QClipboard>
#include <QSignalSpy>

namespace {

const char* const Classe = "TFormTransHab_167171";
const QString Titulo = "Configurador Mirabelo.: ";

void GuardaTransacoes(TTelaTeste& T, const std::string& Empresa, const std::string& Valores)
{
    TRaizTeste::Grava(T.Raiz.IniEmpresa(Empresa), "[TrnHabilitada]\r\n" + Valores);
}

} // namespace

class TransHabTeste : public QObject {
    Q_OBJECT

private slots:
    // A company never saved shows the defaults, ready to be saved. Saving writes the audit line first:
    // the audit file is the company's ini file here, so whatever is written first stands first. The
    // four keys follow in their order, and the audit line carries Cr_parceladoAdm, which is not stored.
    void NuncaGravadaMostraPadroesEGravaDepoisDaAuditoria()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", ""}, {"00000456", ""}});
        std::filesystem::create_directories(T.Raiz.IniEmpresa("00000123").parent_path());
        setenv("KOVAN_EVENTLOG", T.Raiz.IniEmpresa("00000123").c_str(), 1);
        T.Abre(Classe);
        QCOMPARE(T.Controle<TTabSet>("TabSet1")->Tabs(), std::vector<std::string>{Cp("Débito")});
        QVERIFY(T.Marcada("Cr_vista") && T.Marcada("Cr_cancelamento") && !T.Marcada("Cr_parceladoEstab"));
        QVERIFY(T.Habilitado("Cr_parceladoEstab") && !T.Habilitado("Cr_parceladoAdm") && !T.Habilitado("ParcelasC"));
        QVERIFY(T.Habilitado("BitBtnSalvar") && !T.Habilitado("BitBtnExcluir"));

        T.Controle<TCheckBox>("Cr_parceladoAdm")->SetChecked(true);
        T.Clica("BitBtnSalvar");
        const std::string Arquivo = T.Guardado("00000123");
        // (The writer keeps the line breaks the file already has: the audit line's.)
        QVERIFY2(Arquivo.starts_with("{") && Arquivo.ends_with("}\n[trnhabilitada]\ndebitovista=1\ncancelamento=1\n"
                                                               "parceladojurosestabelecimento=0\nnumeroparcelas=\n"),
                 Arquivo.c_str());
        const auto Registro = nlohmann::json::parse(Arquivo.substr(0, Arquivo.find('\n')));
        QVERIFY(Utf8ParaCp1252(Registro["text"].get<std::string>())
                    .ends_with(Cp("\n\nMirabelo/Transações Habilitadas/00000123\r\n"
                                  "DebVista: 1; DebParcAdm: 1; DebParcEstab: 0; DebCanc: 1; DebNParc: ;")));
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir"));
    }

    void ParcelasAoGravar_data()
    {
        QTest::addColumn<QString>("Digitado");
        QTest::addColumn<QString>("Mensagem");
        QTest::addColumn<QString>("Gravado");
        const QString Invalido = Titulo + "Número de parcelas inválido. (0x10)";
        QTest::newRow("vazio") << "" << Titulo + "Informe o número de parcelas. (0x30)" << "12";
        QTest::newRow("zero") << "0" << Invalido << "12";
        QTest::newRow("dois-zeros") << "00" << Invalido << "12";
        QTest::newRow("zero-um") << "01" << "" << "01";
        QTest::newRow("noventa-e-nove") << "99" << "" << "99";
        QTest::newRow("so-digitos") << "a9.-" << "" << "9";
    }
    // A stored "0" still counts as configured; stored installments enable the field, which must then
    // hold 1 to 99 for the save to go on. A click on a box modifies too, and while modified the company
    // cannot be changed, on a single-company server too. Cancel asks (No keeps the changes), Yes loads
    // the stored values again.
    void ParcelasAoGravar()
    {
        QFETCH(QString, Digitado);
        QFETCH(QString, Mensagem);
        QFETCH(QString, Gravado);
        TTelaTeste T;
        T.Raiz.CriaEmpresa("00000000");
        GuardaTransacoes(T, "00000000", "DebitoVista=0\r\nCancelamento=1\r\nParceladoJurosEstabelecimento=1\r\nNumeroParcelas=12\r\n");
        T.Abre(Classe);
        QVERIFY(!T.Marcada("Cr_vista") && T.Marcada("Cr_parceladoEstab") && T.Texto("ParcelasC") == "12");
        QVERIFY(T.Habilitado("BitBtnExcluir") && !T.Habilitado("BitBtnSalvar") && T.Habilitado("ParcelasC"));
        T.Marca("Cr_cancelamento");
        QVERIFY(!T.Habilitado("ComboBoxEmpresa") && !T.Habilitado("BitBtnExcluir"));

        T.Apaga("ParcelasC");
        T.Digita(Digitado.toUtf8().constData());
        T.Clica("BitBtnSalvar");
        const std::string Arquivo = MinusculasAscii(T.Guardado("00000000"));
        QVERIFY2(Arquivo.find("numeroparcelas=" + Gravado.toStdString() + "\r\n") != std::string::npos, Arquivo.c_str());
        QCOMPARE(T.Dialogos(), Mensagem);
        QCOMPARE(T.Auditoria().size(), Mensagem.isEmpty() ? 1u : 0u);
        QCOMPARE(T.Habilitado("BitBtnSalvar"), !Mensagem.isEmpty());
        if (Mensagem.isEmpty())
            return;
        T.RespostasCaixa = {IDNO, IDYES};
        T.Clica("BitBtnCancelar");
        QVERIFY(!T.Marcada("Cr_cancelamento") && T.Habilitado("BitBtnCancelar"));
        T.Clica("BitBtnCancelar");
        QVERIFY(T.Marcada("Cr_cancelamento") && T.Texto("ParcelasC") == "12" && T.Habilitado("ComboBoxEmpresa"));
        const QString Pergunta = " | " + Titulo + "Deseja cancelar as alterações ? (0x124)";
        QCOMPARE(T.Dialogos(), Mensagem + Pergunta + Pergunta);
        QVERIFY(T.Auditoria().empty());
    }

    void Excluir_data()
    {
        QTest::addColumn<bool>("Multi");
        QTest::addColumn<QString>("Modo");
        QTest::addColumn<int>("Nivel");
        QTest::addColumn<bool>("SemArquivo");      // 00000123's file removed behind the screen
        QTest::addColumn<QList<int>>("Respostas"); // the choice, then the confirmation
        QTest::addColumn<QString>("Dialogos");     // what was asked, in order
        QTest::addColumn<QString>("Restam");       // companies whose file is left
        QTest::addColumn<QString>("Excluidas");    // audit lines, in order
        const QString Qual = Titulo + "Qual configuração deseja excluir ? (Atual/Todas/Cancelar; 3)";
        const QString Sera = Titulo + "A configuração será excluída! (Continuar/Cancelar; 2)";
        const QString Confirma = " | " + Titulo + "Deseja realmente excluir a configuração ";
        const QString Atual = Qual + Confirma + "da empresa [00000123] ? (0x124)";
        const QString Ambas = "00000123 00000456";
        QTest::newRow("todas") << true << "0" << 0 << false << QList<int>{2, IDYES}
                               << Qual + Confirma + "de Todas empresas ? (0x124)" << "" << Ambas;
        QTest::newRow("atual") << true << "0" << 0 << false << QList<int>{1, IDYES} << Atual << "00000456" << "00000123";
        QTest::newRow("atual-nao") << true << "0" << 0 << false << QList<int>{1, IDNO} << Atual << Ambas << "";
        QTest::newRow("sem-arquivo") << true << "0" << 0 << true << QList<int>{1, IDYES} << Atual << "00000456" << "";
        QTest::newRow("cancelar") << true << "0" << 0 << false << QList<int>{3} << Qual << Ambas << "";
        QTest::newRow("modo-8") << true << "8" << 0 << false << QList<int>{2} << Sera << Ambas << "";
        QTest::newRow("nivel-2") << true << "0" << 2 << false << QList<int>{}
                                 << "SEGURANÇA: Usuário não autorizado para essa opção. (0x10)" << Ambas << "";
        QTest::newRow("uma-empresa") << false << "0" << 0 << false << QList<int>{1, IDYES}
                                     << Sera + Confirma + "da empresa [00000000] ? (0x124)" << "" << "00000000";
    }
    // Which question is asked when, and what each answer removes: one audit line per company whose file
    // exists (00000789 has none), nothing when the user backs out; the screen is cleared after a removal.
    void Excluir()
    {
        QFETCH(bool, Multi);
        QFETCH(QString, Modo);
        QFETCH(int, Nivel);
        QFETCH(bool, SemArquivo);
        QFETCH(QList<int>, Respostas);
        QFETCH(QString, Dialogos);
        QFETCH(QString, Restam);
        QFETCH(QString, Excluidas);
        TTelaTeste T(static_cast<std::uint16_t>(Nivel));
        const std::vector<std::string> Guardadas = Multi ? std::vector<std::string>{"00000123", "00000456"}
                                                         : std::vector<std::string>{"00000000"};
        if (Multi)
            T.Empresas({{"00000123", ""}, {"00000456", ""}, {"00000789", ""}});
        else
            T.Raiz.CriaEmpresa("00000000");
        for (const std::string& Empresa : Guardadas)
            GuardaTransacoes(T, Empresa, "DebitoVista=1\r\nCancelamento=0\r\n");
        T.Respostas[501] = Modo.toStdString();
        T.Abre(Classe);
        if (SemArquivo)
            std::filesystem::remove(T.Raiz.IniEmpresa("00000123"));
        for (int I = 0; I < Respostas.size(); ++I)
            (I == 0 ? T.RespostasPergunta : T.RespostasCaixa).push_back(Respostas[I]);
        T.Clica("BitBtnExcluir");

        QCOMPARE(T.Dialogos(), Dialogos);
        std::vector<std::string> Linhas;
        for (const QString& Empresa : Excluidas.split(' ', Qt::SkipEmptyParts))
            Linhas.push_back(Cp("Mirabelo/Transações Habilitadas/") + Empresa.toStdString() + Cp(" - Opção Exclusão"));
        QCOMPARE(T.Auditoria(), Linhas);
        for (const std::string& Empresa : Guardadas) // a file left empty is deleted
            QCOMPARE(std::filesystem::exists(T.Raiz.IniEmpresa(Empresa)), Restam.contains(QString::fromStdString(Empresa)));
        QCOMPARE(T.Marcada("Cr_vista"), Excluidas.isEmpty());
    }

    // Delete and Ctrl+V (pasting nothing) empty the company box; entering the pages lands on the first
    // check box, or on Retornar for a user who may only view; a page without a tab cannot be reached.
    void TecladoEFoco()
    {
        for (const std::uint16_t Nivel : {0, 2}) {
            TTelaTeste T(Nivel);
            T.Empresas({{"00000123", ""}, {"00000456", ""}});
            GuardaTransacoes(T, "00000123", "DebitoVista=1\r\n");
            T.Abre(Classe);
            T.Tecla(Qt::Key_Delete);
            QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
            T.Digita("0000");
            QGuiApplication::clipboard()->setText("00000456");
            T.Tecla(Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
            T.Digita("00000123");
            T.Controle("BitBtnExcluir")->setFocus();
            T.Tecla(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), T.Controle(Nivel == 2 ? "BitBtnRetornar" : "Cr_vista"));
            if (Nivel == 0) {
                QSignalSpy Paginas(T.Controle<QTabWidget>("PageControl1"), &QTabWidget::currentChanged);
                T.Tecla(Qt::Key_Tab, Qt::ControlModifier);
                QCOMPARE(Paginas.count(), 2); // to the next page and straight back
                QCOMPARE(T.Controle<TPageControl>("PageControl1")->ActivePageIndex(), 0);
            }
        }
    }

    // Host mode "2": even a company never saved cannot be saved.
    void SoVisualizacao()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", ""}});
        T.Respostas[501] = "2";
        T.Abre(Classe);
        QVERIFY(!T.Habilitado("BitBtnSalvar") && !T.Habilitado("Cr_vista") && T.Habilitado("BitBtnRetornar"));
    }
};

QTEST_MAIN(TransHabTeste)
#include "uFormTransHab_167171_test.moc"
