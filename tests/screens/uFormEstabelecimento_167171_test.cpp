// "Estabelecimento" as the administrator uses it: the code of the chosen company is shown, typed,
// padded, saved (with the duplicate check), cancelled and deleted, and every save and delete audited.
#include "TelaTeste.h"

namespace {

const std::string Cabeca = "Mirabelo/Estabelecimento/";
const QString Titulo = "Configurador Mirabelo.: ";

} // namespace

class EstabelecimentoTeste : public QObject {
    Q_OBJECT

private slots:
    // The code typed over the company's: keys other than letters and digits are dropped, a 16th
    // character is not taken, leaving the field pads it to 15 and the hints follow the focus. Saving
    // stores it, audits it and reloads; a code another listed company holds (any letter case) is
    // refused unless the server allows duplicates, the same company may save its own code again, and
    // an empty code is refused. Cancelling a refused code asks (No by default): No keeps it, Yes reloads.
    void DigitaESalva_data()
    {
        QTest::addColumn<bool>("Permite");
        QTest::addColumn<QString>("Empresa");
        QTest::addColumn<QString>("Digitado");
        QTest::addColumn<QString>("Codigo");
        QTest::addColumn<QString>("Recusa");
        const QString Usado = "Esse código de estabelecimento já está sendo usado por outra empresa.";
        QTest::newRow("tres-digitos") << false << "00000123" << "1-2 3" << "000000000000123" << "";
        QTest::newRow("quinze") << false << "00000123" << "AB3456789012345X" << "AB3456789012345" << "";
        QTest::newRow("outra-empresa-outra-caixa") << false << "00000123" << "abc" << "000000000000abc" << Usado;
        QTest::newRow("mesma-empresa") << false << "00000456" << "ABC" << "000000000000ABC" << "";
        QTest::newRow("duplicados-permitidos") << true << "00000123" << "abc" << "000000000000abc" << "";
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
        QVERIFY(T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnCancelar"));
        QVERIFY(!T.Habilitado("BitBtnExcluir") && !T.Habilitado("ComboBoxEmpresa"));
        T.Tecla(Qt::Key_Tab);
        QCOMPARE(T.Texto("EditCodigoEstab"), Esperado);
        QCOMPARE(T.Trocas.back(), (TTroca{100, ""}));

        const std::string Antes = T.Guardado("00000123") + T.Guardado("00000456");
        T.Clica("BitBtnSalvar");
        if (Recusa.isEmpty()) {
            QVERIFY(T.Caixas.empty());
            if (Escolhida == "00000123")
                QCOMPARE(T.Guardado(Escolhida), "[geral]\r\ncodigoestabelecimento=" + Esperado + "\r\n");
            QCOMPARE(T.Auditoria(), (std::vector<std::string>{Cabeca + Escolhida + "\r\nEstab: " + Esperado}));
            QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir") && T.Habilitado("ComboBoxEmpresa"));
            QCOMPARE(T.Trocas.back().Codigo, 300);
        } else {
            QVERIFY(T.Auditoria().empty() && T.Habilitado("BitBtnSalvar"));
            QCOMPARE(T.Guardado("00000123") + T.Guardado("00000456"), Antes);
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

    // Delete: which question is asked, what each answer removes, and the audit line of every company
    // whose section went away (00000456 has none); level 2 may only view (field disabled, delete
    // refused), level 4 may delete.
    void Exclui_data()
    {
        QTest::addColumn<bool>("Multi");
        QTest::addColumn<QString>("Modo");
        QTest::addColumn<int>("Nivel");
        QTest::addColumn<QList<int>>("Respostas"); // the choice, then the confirmation
        QTest::addColumn<QString>("Dialogos");
        QTest::addColumn<QStringList>("Removidas");
        const QString Qual = Titulo + "Qual configuração deseja excluir ? (Atual/Todas/Cancelar; 3)";
        const QString Sera = Titulo + "A configuração será excluída! (Continuar/Cancelar; 2)";
        const QString Confirma = " | " + Titulo + "Deseja realmente excluir a configuração ";
        const QString Atual = Qual + Confirma + "da empresa [00000123] ? (0x124)";
        const QString Todas = Qual + Confirma + "de Todas empresas ? (0x124)";
        QTest::newRow("atual") << true << "0" << 0 << QList<int>{1, IDYES} << Atual << QStringList{"00000123"};
        QTest::newRow("todas") << true << "0" << 0 << QList<int>{2, IDYES} << Todas
                               << QStringList{"00000123", "00000789"};
        QTest::newRow("cancelar") << true << "0" << 4 << QList<int>{3} << Qual << QStringList{};
        QTest::newRow("nao-confirma") << true << "0" << 0 << QList<int>{2, IDNO} << Todas << QStringList{};
        QTest::newRow("empresa-fixa") << true << "8" << 0 << QList<int>{2} << Sera << QStringList{};
        QTest::newRow("uma-empresa") << false << "0" << 0 << QList<int>{1, IDYES}
                                     << Sera + Confirma + "da empresa [00000000] ? (0x124)" << QStringList{"00000000"};
        QTest::newRow("nivel-2-so-ve") << true << "0" << 2 << QList<int>{1, IDYES}
                                       << "SEGURANÇA: Usuário não autorizado para essa opção. (0x10)" << QStringList{};
    }
    void Exclui()
    {
        QFETCH(bool, Multi);
        QFETCH(QString, Modo);
        QFETCH(int, Nivel);
        QFETCH(QList<int>, Respostas);
        QFETCH(QString, Dialogos);
        QFETCH(QStringList, Removidas);
        TTelaTeste T(static_cast<std::uint16_t>(Nivel));
        const std::string Primeira = Multi ? "00000123" : "00000000";
        if (Multi)
            T.Empresas({{"00000123", ""}, {"00000456", ""}, {"00000789", "333"}});
        else
            T.Raiz.CriaEmpresa(Primeira);
        const std::string Geral = "[Geral]\r\nCodigoEstabelecimento=000000000000111\r\n", Outra = "[TrnHabilitada]\r\nDebitoVista=1\r\n";
        TRaizTeste::Grava(T.Raiz.IniEmpresa(Primeira), Geral + Outra);
        T.Respostas[501] = Modo.toStdString();
        T.Abre();
        T.RespostasPergunta = {Respostas[0]};
        T.RespostasCaixa = {Respostas.value(1)};
        QCOMPARE(T.Habilitado("EditCodigoEstab"), Nivel != 2);
        T.Clica("BitBtnExcluir");
        QCOMPARE(T.Dialogos(), Dialogos);
        std::vector<std::string> Linhas;
        for (const QString& E : Removidas)
            Linhas.push_back(Cabeca + E.toStdString() + Cp(" - Opção Exclusão"));
        QCOMPARE(T.Auditoria(), Linhas);
        const bool Removida = !Removidas.isEmpty();
        QCOMPARE(T.Guardado(Primeira), Removida ? Outra : Geral + Outra);
        QCOMPARE(T.Texto("EditCodigoEstab"), Removida ? std::string() : std::string("000000000000111"));
    }
};

QTEST_MAIN(EstabelecimentoTeste)
#include "uFormEstabelecimento_167171_test.moc"
