// "Estabelecimento" as the administrator uses it: the code of the chosen company is shown, typed,
// padded, saved (with the duplicate check), cancelled and deleted, and every save and delete audited.
#include "TelaTeste.h"

namespace {

const std::string Cabeca = "Mirabelo/Estabelecimento/";

} // namespace

class EstabelecimentoTeste : public QObject {
    Q_OBJECT

private slots:
    // Typing 1, 2, 3 and leaving the field pads it to 15; saving stores it, audits it and reloads it.
    // A 15-character code stays as typed and takes no 16th character; keys other than letters and
    // digits are dropped; the hints follow the focus.
    void DigitaESalva_data()
    {
        QTest::addColumn<QString>("Digitado");
        QTest::addColumn<QString>("Gravado");
        QTest::newRow("tres-digitos") << "1-2 3" << "000000000000123";
        QTest::newRow("quinze") << "AB3456789012345X" << "AB3456789012345";
    }
    void DigitaESalva()
    {
        QFETCH(QString, Digitado);
        QFETCH(QString, Gravado);
        const std::string Codigo = Gravado.toStdString();
        TTelaTeste T;
        T.Empresas({{"00000123", ""}, {"00000456", "000000000000999"}});
        T.Abre();
        QCOMPARE(T.Texto("EditCodigoEstab"), std::string());
        QVERIFY(!T.Habilitado("BitBtnSalvar") && !T.Habilitado("BitBtnCancelar") && T.Habilitado("BitBtnExcluir"));

        T.Tecla(Qt::Key_Tab);
        QCOMPARE(T.Trocas.back(), (TTroca{100, Cp("Digite o código de estabelecimento para a empresa.")}));
        T.Digita(Digitado.toLatin1().constData());
        QVERIFY(T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnCancelar"));
        QVERIFY(!T.Habilitado("BitBtnExcluir") && !T.Habilitado("ComboBoxEmpresa"));
        T.Tecla(Qt::Key_Tab);
        QCOMPARE(T.Texto("EditCodigoEstab"), Codigo);
        QCOMPARE(T.Trocas.back(), (TTroca{100, ""}));

        T.Clica("BitBtnSalvar");
        QVERIFY(T.Caixas.empty());
        QCOMPARE(T.Guardado("00000123"), "[geral]\r\ncodigoestabelecimento=" + Codigo + "\r\n");
        QCOMPARE(T.Auditoria(), (std::vector<std::string>{Cabeca + "00000123\r\nEstab: " + Codigo}));
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir") && T.Habilitado("ComboBoxEmpresa"));
        QCOMPARE(T.Trocas.back().Codigo, 300);
    }

    // Saving a code another listed company holds (any letter case) is refused unless the server
    // allows duplicates; the same company may save its own code again; an empty code is refused.
    void Duplicidade_data()
    {
        QTest::addColumn<bool>("Permite");
        QTest::addColumn<QString>("Empresa");
        QTest::addColumn<QString>("Digitado");
        QTest::addColumn<QString>("Recusa");
        const QString Usado = "Esse código de estabelecimento já está sendo usado por outra empresa.";
        QTest::newRow("outra-empresa-outra-caixa") << false << "00000123" << "abc" << Usado;
        QTest::newRow("mesma-empresa") << false << "00000456" << "ABC" << "";
        QTest::newRow("duplicados-permitidos") << true << "00000123" << "abc" << "";
        QTest::newRow("vazio") << false << "00000123" << "" << "Código de Estabelecimento inválido.";
    }
    void Duplicidade()
    {
        QFETCH(bool, Permite);
        QFETCH(QString, Empresa);
        QFETCH(QString, Digitado);
        QFETCH(QString, Recusa);
        TTelaTeste T;
        T.Empresas({{"00000123", ""}, {"00000456", "000000000000ABC"}}, Permite);
        T.Respostas[301] = Empresa.toStdString();
        T.Abre();
        T.Clica("EditCodigoEstab");
        T.Controle<QLineEdit>("EditCodigoEstab")->selectAll();
        T.Tecla(Qt::Key_Backspace);
        T.Digita(Digitado.toLatin1().constData());
        const std::string Antes = T.Guardado("00000123") + T.Guardado("00000456");
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.Auditoria().size(), Recusa.isEmpty() ? 1u : 0u);
        QCOMPARE(T.Habilitado("BitBtnSalvar"), !Recusa.isEmpty());
        QCOMPARE(T.Caixas.size(), Recusa.isEmpty() ? 0u : 1u);
        if (Recusa.isEmpty())
            return;
        QCOMPARE(T.Caixas[0].Texto, Cp(Recusa.toStdString()));
        QCOMPARE(T.Caixas[0].Flags, MB_OK | MB_ICONWARNING);
        QCOMPARE(T.Guardado("00000123") + T.Guardado("00000456"), Antes);
        QCOMPARE(QApplication::focusWidget(), T.Controle("EditCodigoEstab"));
    }

    // Cancel: with changes it asks (No by default) and No keeps them; without changes it reloads at once.
    void Cancela()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", "000000000000111"}});
        T.Abre();
        T.Clica("EditCodigoEstab");
        T.Digita("9");
        T.RespostasCaixa = {IDNO, IDYES};
        T.Clica("BitBtnCancelar");
        QCOMPARE(T.Caixas[0].Flags, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        QCOMPARE(T.Caixas[0].Texto, Cp("Deseja cancelar as alterações ?"));
        QVERIFY(T.Habilitado("BitBtnSalvar"));
        T.Clica("BitBtnCancelar");
        QCOMPARE(T.Texto("EditCodigoEstab"), std::string("000000000000111"));
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir"));

        TRaizTeste::Grava(T.Raiz.IniEmpresa("00000123"), "[Geral]\r\nCodigoEstabelecimento=222\r\n");
        T.Controle("BitBtnCancelar")->setEnabled(true);
        T.Clica("BitBtnCancelar");
        QCOMPARE(T.Caixas.size(), 2u);
        QCOMPARE(T.Texto("EditCodigoEstab"), std::string("222"));
    }

    // Delete: which question is asked, what each answer removes, and the audit line of every company
    // whose section went away; level 2 may only view (field disabled, delete refused).
    void Exclui_data()
    {
        QTest::addColumn<bool>("Multi");
        QTest::addColumn<QString>("Modo");
        QTest::addColumn<int>("Nivel");
        QTest::addColumn<int>("Escolha");
        QTest::addColumn<int>("Confirma");
        QTest::addColumn<QStringList>("Botoes");
        QTest::addColumn<QStringList>("Removidas");
        const QStringList Tres{"Atual", "Todas", "Cancelar"}, Dois{"Continuar", "Cancelar"};
        QTest::newRow("atual") << true << "0" << 0 << 1 << IDYES << Tres << QStringList{"00000123"};
        QTest::newRow("todas") << true << "0" << 0 << 2 << IDYES << Tres << QStringList{"00000123", "00000789"};
        QTest::newRow("cancelar") << true << "0" << 4 << 3 << IDYES << Tres << QStringList{};
        QTest::newRow("nao-confirma") << true << "0" << 0 << 2 << IDNO << Tres << QStringList{};
        QTest::newRow("empresa-fixa") << true << "8" << 0 << 2 << IDYES << Dois << QStringList{};
        QTest::newRow("uma-empresa") << false << "0" << 0 << 1 << IDYES << Dois << QStringList{"00000000"};
        QTest::newRow("nivel-2-so-ve") << true << "0" << 2 << 1 << IDYES << QStringList{} << QStringList{};
    }
    void Exclui()
    {
        QFETCH(bool, Multi);
        QFETCH(QString, Modo);
        QFETCH(int, Nivel);
        QFETCH(int, Escolha);
        QFETCH(int, Confirma);
        QFETCH(QStringList, Botoes);
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
        T.RespostasPergunta = {Escolha};
        T.RespostasCaixa = {Confirma};
        QCOMPARE(T.Habilitado("EditCodigoEstab"), Nivel != 2);
        T.Clica("BitBtnExcluir");
        if (Nivel == 2) { // refused with the privilege message, nothing asked
            QVERIFY(T.Perguntas.empty() && T.Caixas.size() == 1u);
            QCOMPARE(T.Caixas[0].Titulo, Cp("SEGURANÇA"));
        } else {
            QCOMPARE(T.Perguntas.size(), 1u);
            QStringList Mostrados;
            for (const std::string& B : T.Perguntas[0].Botoes)
                Mostrados << QString::fromStdString(B);
            QCOMPARE(Mostrados, Botoes);
            QCOMPARE(T.Perguntas[0].Padrao, static_cast<int>(Botoes.size()));
            QCOMPARE(T.Perguntas[0].Titulo, std::string("Configurador Mirabelo."));
            const bool Confirmou = Escolha == 1 || (Escolha == 2 && Botoes.size() == 3);
            QCOMPARE(T.UltimaCaixa(), !Confirmou       ? std::string()
                                      : Escolha == 1 ? Cp("Deseja realmente excluir a configuração da empresa [" + Primeira + "] ?")
                                                     : Cp("Deseja realmente excluir a configuração de Todas empresas ?"));
        }
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
