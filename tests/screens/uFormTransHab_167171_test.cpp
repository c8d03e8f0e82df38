// "Transações Habilitadas" as a person drives it: defaults, installment checks, write order and audit
// lines, cancel, the keys of the company box and where the focus goes (delete: with Estabelecimento).
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
    // A company never saved shows the defaults, ready to be saved. Saving writes the audit line first (the
    // audit file is the company's ini file here), then the four keys in their order; the audit line
    // carries Cr_parceladoAdm, which is not stored.
    void NuncaGravadaMostraPadroesEGravaDepoisDaAuditoria()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", ""}, {"00000456", ""}});
        std::filesystem::create_directories(T.Raiz.IniEmpresa("00000123").parent_path());
        setenv("KOVAN_EVENTLOG", T.Raiz.IniEmpresa("00000123").c_str(), 1);
        T.Abre(Classe);
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
        QTest::newRow("so-digitos") << "a9.-" << "" << "9";
    }
    // A stored "0" still counts as configured; stored installments enable the field, which must then hold
    // 1 to 99 to save. A click on a box modifies too, and while modified the company cannot be changed, on
    // a single-company server too. Cancel asks: No keeps the changes, Yes loads the stored values again.
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
            T.Digita("0000");
            QVERIFY(T.Habilitado("TabSet1") && !T.Habilitado("Cr_vista")); // tab sets stay usable
            QGuiApplication::clipboard()->setText("00000456");
            T.Tecla(Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
            T.Digita("00000123");
            // Tab goes round: the company, the page's boxes, the tab, the buttons; never back in a loop.
            const QStringList Cadeia = Nivel == 2 ? QStringList{"BitBtnRetornar", "ComboBoxEmpresa"}
                                                  : QStringList{"Cr_vista", "Cr_parceladoEstab", "Cr_cancelamento",
                                                                "TabSet1", "BitBtnRetornar", "BitBtnExcluir",
                                                                "ComboBoxEmpresa"};
            QCOMPARE(T.CadeiaTab(), Cadeia);
            if (Nivel == 0) {
                T.Tecla(Qt::Key_Tab);
                QSignalSpy Paginas(T.Controle<QTabWidget>("PageControl1"), &QTabWidget::currentChanged);
                T.Tecla(Qt::Key_Tab, Qt::ControlModifier);
                QCOMPARE(Paginas.count(), 2); // to the next page and straight back
                QCOMPARE(T.Controle<TPageControl>("PageControl1")->ActivePageIndex(), 0);
            }
        }
    }

    // Host mode "2" or a user who may only view: even a company never saved cannot be saved, and a box
    // clicked with the mouse changes nothing.
    void SoVisualizacao()
    {
        for (const auto& [Nivel, Modo] : {std::pair<std::uint16_t, const char*>{0, "2"}, {2, "0"}}) {
            TTelaTeste T(Nivel);
            T.Empresas({{"00000123", ""}, {"00000456", ""}});
            GuardaTransacoes(T, "00000456", "DebitoVista=1\r\n");
            T.Respostas[501] = Modo;
            T.Abre(Classe);
            QVERIFY(!T.Habilitado("BitBtnSalvar") && !T.Habilitado("Cr_vista") && T.Habilitado("BitBtnRetornar"));
            T.Clica("ComboBoxEmpresa");
            T.Tecla(Qt::Key_Delete);
            T.Digita("00000456");
            T.Marca("Cr_vista");
            T.Clica("BitBtnSalvar");
            QVERIFY(T.Marcada("Cr_vista") && !T.Habilitado("BitBtnSalvar") && !T.Habilitado("BitBtnExcluir"));
            QCOMPARE(T.Guardado("00000456"), std::string("[TrnHabilitada]\r\nDebitoVista=1\r\n"));
            QVERIFY(!std::filesystem::exists(T.Raiz.IniEmpresa("00000123")));
        }
    }

    // Deleting the current company's transactions closes the installment count again with its boxes;
    // ticking "À Vista" then saves.
    void ExcluiEGravaDeNovo()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", ""}});
        GuardaTransacoes(T, "00000123", "DebitoVista=1\r\nParceladoJurosEstabelecimento=1\r\nNumeroParcelas=3\r\n");
        T.Abre(Classe);
        QVERIFY(T.Habilitado("ParcelasC"));
        T.RespostasPergunta = {1};
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnExcluir");
        QVERIFY(!T.Marcada("Cr_parceladoEstab") && !T.Habilitado("ParcelasC"));
        T.Marca("Cr_vista");
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.Guardado("00000123"), std::string("[trnhabilitada]\r\ndebitovista=1\r\ncancelamento=0\r\n"
                                                     "parceladojurosestabelecimento=0\r\nnumeroparcelas=\r\n"));
    }
};

QTEST_MAIN(TransHabTeste)
#include "uFormTransHab_167171_test.moc"
