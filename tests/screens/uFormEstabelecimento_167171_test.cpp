// "Estabelecimento" as the administrator uses it: the code of the chosen company is shown, typed, padded,
// saved (with the duplicate check), cancelled and deleted (with "Transações Habilitadas"), all audited.
#include "TelaTeste.h"

#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

namespace {

const std::string Cabeca = "Mirabelo/Estabelecimento/";
const QString Titulo = "Configurador Mirabelo.: ";

} // namespace

class EstabelecimentoTeste : public QObject {
    Q_OBJECT

private slots:
    // The code typed over the company's: only letters and digits, at most 15, padded when the field is left,
    // with the hints following the focus. Saving stores, audits and reloads; a code another listed company
    // holds (any letter case) is refused unless the server allows duplicates, a company may save its own
    // code again, an empty code is refused. Cancelling a refused code asks: No keeps it, Yes reloads.
    void DigitaESalva_data()
    {
        QTest::addColumn<bool>("Permite");
        QTest::addColumn<QString>("Empresa");
        QTest::addColumn<QString>("Digitado");
        QTest::addColumn<QString>("Codigo");
        QTest::addColumn<QString>("Recusa");
        const QString Usado = "Esse código de estabelecimento já está sendo usado por outra empresa.";
        QTest::newRow("quinze") << false << "00000123" << "AB3456789012345X" << "AB3456789012345" << "";
        QTest::newRow("outra-empresa-outra-caixa") << false << "00000123" << "abc" << "000000000000abc" << Usado;
        QTest::newRow("mesma-empresa") << false << "00000456" << "ABC" << "000000000000ABC" << "";
        QTest::newRow("duplicados-permitidos") << true << "00000123" << "a-b c" << "000000000000abc" << "";
        QTest::newRow("vazio") << false << "00000456" << "" << "" << "Código de Estabelecimento inválido.";
    }
    void DigitaESalva()
    {
        QFETCH(bool, Permite);
        QFETCH(QString, Empresa);
        QFETCH(QString, Digitado);
        QFETCH(QString, Codigo);
        QFETCH(QString, Recusa);
        const std::string Escolhida = Empresa.toStdString(), Esperado = Codigo.toStdString();
        TTelaTeste T;
        T.Empresas({{"00000123", ""}, {"00000456", "000000000000ABC"}}, Permite);
        T.Respostas[301] = Escolhida;
        T.Abre();
        const std::string Inicial = Escolhida == "00000123" ? "" : "000000000000ABC";
        QCOMPARE(T.Texto("EditCodigoEstab"), Inicial);
        QVERIFY(!T.Habilitado("BitBtnSalvar") && !T.Habilitado("BitBtnCancelar") && T.Habilitado("BitBtnExcluir"));

        T.Tecla(Qt::Key_Tab);
        QCOMPARE(T.Trocas.back(), (TTroca{100, Cp("Digite o código de estabelecimento para a empresa.")}));
        T.Apaga("EditCodigoEstab");
        T.Digita(Digitado.toLatin1().constData());
        QVERIFY(T.Habilitado("BitBtnSalvar") && !T.Habilitado("BitBtnExcluir") && !T.Habilitado("ComboBoxEmpresa"));
        T.Tecla(Qt::Key_Tab);
        QCOMPARE(T.Texto("EditCodigoEstab"), Esperado);
        QCOMPARE(T.Trocas.back(), (TTroca{100, ""}));

        T.Clica("BitBtnSalvar");
        if (Recusa.isEmpty()) {
            if (Escolhida == "00000123")
                QCOMPARE(T.Guardado(Escolhida), "[geral]\r\ncodigoestabelecimento=" + Esperado + "\r\n");
            QCOMPARE(T.Auditoria(), (std::vector<std::string>{Cabeca + Escolhida + "\r\nEstab: " + Esperado}));
            QVERIFY(T.Caixas.empty() && !T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir"));
            QCOMPARE(T.Trocas.back().Codigo, 300);
        } else {
            QVERIFY(T.Auditoria().empty() && T.Habilitado("BitBtnSalvar"));
            QCOMPARE(QApplication::focusWidget(), T.Controle("EditCodigoEstab"));
            T.RespostasCaixa = {IDNO, IDYES};
            T.Clica("BitBtnCancelar");
            QVERIFY(T.Texto("EditCodigoEstab") == Esperado && T.Habilitado("BitBtnSalvar"));
            T.Clica("BitBtnCancelar");
            QVERIFY(T.Texto("EditCodigoEstab") == Inicial && !T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir"));
            const QString Cancela = " | " + Titulo + "Deseja cancelar as alterações ? (0x124)";
            QCOMPARE(T.Dialogos(), Titulo + Recusa + " (0x30)" + Cancela + Cancela);
        }
    }

    // Delete, asked alike by "Transações Habilitadas", run on both screens: which question is asked when,
    // what each answer removes (each screen its own section; a file left empty goes) and the audit lines:
    // of each company holding the section here, of each company with a file there. Level 2 may only view.
    void Exclui_data()
    {
        QTest::addColumn<QString>("Modo"); // the host's; none on a single-company server
        QTest::addColumn<int>("Nivel");
        QTest::addColumn<QList<int>>("Respostas");  // the choice, then the confirmation
        QTest::addColumn<QString>("Dialogos");
        QTest::addColumn<QStringList>("Excluidas"); // audited, in order: here, then on the other screen
        const QString Qual = Titulo + "Qual configuração deseja excluir ? (Atual/Todas/Cancelar; 3)";
        const QString Sera = Titulo + "A configuração será excluída! (Continuar/Cancelar; 2)";
        const QString Confirma = " | " + Titulo + "Deseja realmente excluir a configuração ";
        const QString Atual = Qual + Confirma + "da empresa [00000123] ? (0x124)";
        const auto Ambas = [](const char* Empresas) { return QStringList{Empresas, Empresas}; };
        const QStringList Nenhuma = Ambas("");
        QTest::newRow("atual") << "0" << 0 << QList<int>{1, IDYES} << Atual << Ambas("00000123");
        QTest::newRow("todas") << "0" << 0 << QList<int>{2, IDYES} << Qual + Confirma + "de Todas empresas ? (0x124)"
                               << QStringList{"00000123 00000789", "00000123 00000456 00000789"};
        QTest::newRow("cancelar-nivel-4") << "0" << 4 << QList<int>{3} << Qual << Nenhuma;
        QTest::newRow("nao-confirma") << "0" << 0 << QList<int>{1, IDNO} << Atual << Nenhuma;
        QTest::newRow("empresa-fixa") << "8" << 0 << QList<int>{2} << Sera << Nenhuma;
        QTest::newRow("uma-empresa") << "" << 0 << QList<int>{1, IDYES}
                                     << Sera + Confirma + "da empresa [00000000] ? (0x124)" << Ambas("00000000");
        QTest::newRow("nivel-2-so-ve") << "0" << 2 << QList<int>{1, IDYES} << "" << Nenhuma; // Excluir disabled
    }
    void Exclui()
    {
        QFETCH(QString, Modo);
        QFETCH(int, Nivel);
        QFETCH(QList<int>, Respostas);
        QFETCH(QString, Dialogos);
        QFETCH(QStringList, Excluidas);
        const std::string Geral = "[Geral]\r\nCodigoEstabelecimento=000000000000111\r\n";
        const std::string Trn = "[TrnHabilitada]\r\nDebitoVista=1\r\n";
        const struct {
            const char* Classe;
            std::string Log, Resta, Tela;
        } Telas[] = {{"TFormEstabelecimento_167171", Cabeca, Trn, "Estabelecimento"},
                     {"TFormTransHab_167171", Cp("Mirabelo/Transações Habilitadas/"), Geral, "Transações Habilitadas"}};
        for (int I = 0; I < 2; ++I) {
            TTelaTeste T(static_cast<std::uint16_t>(Nivel));
            const std::string Primeira = Modo.isEmpty() ? "00000000" : "00000123";
            T.Raiz.CriaEmpresa("00000000"); // with no file on a multi-company server
            if (!Modo.isEmpty())
                T.Empresas({{"00000123", ""}, {"00000456", ""}, {"00000789", "333"}});
            TRaizTeste::Grava(T.Raiz.IniEmpresa("00000456"), Trn);
            TRaizTeste::Grava(T.Raiz.IniEmpresa(Primeira), Geral + Trn);
            T.Respostas[301] = Primeira;
            T.Respostas[501] = Modo.toStdString();
            T.Abre(Telas[I].Classe);
            T.RespostasPergunta = {Respostas[0]};
            T.RespostasCaixa = {Respostas.value(1)};
            if (I == 0)
                QCOMPARE(T.Habilitado("EditCodigoEstab"), Nivel != 2);
            T.Clica("BitBtnExcluir");
            QCOMPARE(T.Dialogos(), Dialogos);
            std::vector<std::string> Linhas, Campos; // each entry names its company and screen
            for (const QString& E : Excluidas[I].split(' ', Qt::SkipEmptyParts)) {
                Linhas.push_back(Telas[I].Log + E.toStdString() + Cp(" - Opção Exclusão"));
                Campos.push_back(E.toStdString() + "|" + Telas[I].Tela);
            }
            QCOMPARE(T.Auditoria(), Linhas);
            QCOMPARE(T.CamposAuditoria(), Campos);
            const bool Removida = !Excluidas[I].isEmpty();
            QCOMPARE(T.Guardado(Primeira), Removida ? Telas[I].Resta : Geral + Trn);
            QCOMPARE(std::filesystem::exists(T.Raiz.IniEmpresa("00000456")), !Excluidas[I].contains("456"));
            QCOMPARE(I == 0 ? T.Texto("EditCodigoEstab").empty() : !T.Marcada("Cr_vista"), Removida); // cleared
        }
    }

    // The code field from the keyboard: forward Delete, Ctrl+Z, Ctrl+A edit it (and make the screen
    // modified); a paste is typing. Cancelling asks in a real message box whose buttons are Portuguese.
    // Esc on an unchanged screen leaves without a question.
    void Teclado()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", "000000000000123"}});
        T.Abre();
        T.Tecla(Qt::Key_Tab);
        T.Tecla(Qt::Key_Home);
        T.Tecla(Qt::Key_Delete);
        QCOMPARE(T.Texto("EditCodigoEstab"), std::string("00000000000123"));
        QVERIFY(T.Habilitado("BitBtnSalvar"));
        T.Tecla(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(T.Texto("EditCodigoEstab"), std::string("000000000000123"));
        T.Tecla(Qt::Key_A, Qt::ControlModifier);
        T.Digita("\b");
        QGuiApplication::clipboard()->setText("12-3.4ab");
        T.Tecla(Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(T.Texto("EditCodigoEstab"), std::string("1234ab"));

        KovanSetMessageBoxHandler(nullptr, nullptr);
        QStringList Botoes;
        QTimer::singleShot(0, [&Botoes] {
            auto* Caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!Caixa)
                return;
            for (QAbstractButton* B : Caixa->buttons())
                Botoes << B->text();
            Caixa->button(QMessageBox::Yes)->click();
        });
        T.Clica("BitBtnCancelar");
        T.AtendeCaixas();
        T.VoltaAJanela();
        Botoes.sort();
        QCOMPARE(Botoes, (QStringList{"&Não", "&Sim"}));
        QCOMPARE(T.Texto("EditCodigoEstab"), std::string("000000000000123"));

        T.Clica("EditCodigoEstab");
        T.Tecla(Qt::Key_Escape);
        QVERIFY(!T.Form->isVisible());
        QCOMPARE(T.Dialogos(), QString());
    }
};

QTEST_MAIN(EstabelecimentoTeste)
#include "uFormEstabelecimento_167171_test.moc"
