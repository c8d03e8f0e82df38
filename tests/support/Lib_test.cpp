#include "support/Lib.h"

#include "db/MkSqLite3.h"
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"
#include "runtime/QuestionBox.h"
#include "support/msgmodulos.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <tuple>

// The question box driven through Qt, offscreen: what a user sees, where the focus goes, what each
// button answers.
class CaixaDlgMensagemExTeste : public QObject {
    Q_OBJECT

private:
    // Runs Acao on the box once it is open; the box is closed by its third button after a deadline,
    // so a broken box fails the test instead of hanging it.
    void QuandoAbrir(std::function<void(QDialog*)> Acao)
    {
        QTimer::singleShot(0, this, [this, Acao] { Espera(Acao, 0); });
    }
    void Espera(std::function<void(QDialog*)> Acao, int Tentativas)
    {
        auto* Caixa = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (Caixa && Caixa->isVisible()) {
            if (QTest::qWaitForWindowActive(Caixa))
                Acao(Caixa);
            else
                QTest::qFail("the box never became active", __FILE__, __LINE__);
            if (Caixa->isVisible())
                Caixa->done(-1);
            return;
        }
        if (Tentativas < 200)
            QTimer::singleShot(10, this, [this, Acao, Tentativas] { Espera(Acao, Tentativas + 1); });
    }
    static QPushButton* Botao(QDialog* Caixa, int N)
    {
        return Caixa->findChild<QPushButton*>(QStringLiteral("Botao%1").arg(N));
    }

private slots:
    void cleanup() { KovanSetQuestionBoxHandler(nullptr, nullptr); }

    void BotaoPressionadoResponde_data()
    {
        QTest::addColumn<QStringList>("Legendas");
        QTest::addColumn<int>("Padrao");
        QTest::addColumn<int>("Pressionado");
        QTest::newRow("qual-configuracao-atual") << QStringList{"Atual", "Todas", "Cancelar"} << 3 << 1;
        QTest::newRow("qual-configuracao-todas") << QStringList{"Atual", "Todas", "Cancelar"} << 3 << 2;
        QTest::newRow("sera-excluida-continuar") << QStringList{"Continuar", "Cancelar"} << 2 << 1;
        QTest::newRow("quatro-legendas-so-tres") << QStringList{"a", "b", "c", "d"} << 1 << 3;
        QTest::newRow("um-botao") << QStringList{"OK"} << 1 << 1;
    }
    void BotaoPressionadoResponde()
    {
        QFETCH(QStringList, Legendas);
        QFETCH(int, Padrao);
        QFETCH(int, Pressionado);
        std::vector<std::string> Botoes;
        for (const QString& L : Legendas)
            Botoes.push_back(L.toStdString());
        const int N = std::min<int>(Legendas.size(), 3);
        QuandoAbrir([&](QDialog* Caixa) {
            QCOMPARE(Caixa->windowTitle(), QString("Configurador Mirabelo."));
            QCOMPARE(Caixa->findChildren<QPushButton*>().size(), N);
            for (int I = 1; I <= N; ++I) {  // right-aligned, 105 apart, in the order given
                QCOMPARE(Botao(Caixa, I)->text(), Legendas[I - 1]);
                QCOMPARE(Botao(Caixa, I)->geometry(), QRect(Caixa->width() - 130 - 105 * (N - I), 90, 75, 25));
            }
            QCOMPARE(Caixa->findChild<QLabel*>("Mensagem")->text(), QString("Qual configuração deseja excluir ?"));
            QCOMPARE(Caixa->frameGeometry().size(), QSize(400, 150));
            QVERIFY(!(Caixa->windowFlags() & Qt::WindowCloseButtonHint));
            QTest::mouseClick(Botao(Caixa, Pressionado), Qt::LeftButton);
        });
        QCOMPARE(CaixaDlgMensagemEx("Configurador Mirabelo.", "Qual configura\xE7\xE3o deseja excluir ?", Botoes,
                                    Padrao),
                 Pressionado);
    }

    void OrdemDeTabulacaoComecaNoPadrao_data()
    {
        QTest::addColumn<int>("Padrao");
        QTest::addColumn<QList<int>>("Ordem");
        QTest::newRow("padrao-2") << 2 << QList<int>{2, 3, 1, 2};
        QTest::newRow("padrao-3") << 3 << QList<int>{3, 1, 2, 3};
        QTest::newRow("padrao-fora-segue-criacao") << 7 << QList<int>{1, 2, 3, 1};
    }
    void OrdemDeTabulacaoComecaNoPadrao()
    {
        QFETCH(int, Padrao);
        QFETCH(QList<int>, Ordem);
        QList<int> Visitados;
        QuandoAbrir([&](QDialog* Caixa) {
            for (int I = 0; I < Ordem.size(); ++I) {
                for (int B = 1; B <= 3; ++B)
                    if (Caixa->focusWidget() == Botao(Caixa, B))
                        Visitados << B;
                if (I + 1 < Ordem.size())
                    QTest::keyClick(Caixa->focusWidget(), Qt::Key_Tab);
            }
            // Escape and a close request leave the box open; Enter presses the focused button.
            QTest::keyClick(Caixa->focusWidget(), Qt::Key_Escape);
            Caixa->close();
            QVERIFY(Caixa->isVisible());
            QTest::keyClick(Caixa->focusWidget(), Qt::Key_Return);
        });
        const int Resposta = CaixaDlgMensagemEx("T", "M", {"Atual", "Todas", "Cancelar"}, Padrao);
        QCOMPARE(Visitados, Ordem);
        QCOMPARE(Resposta, Ordem.last());
    }

    // A host's handler answers instead of the box, and sees at most three buttons; an empty list
    // answers 0 and asks no one.
    void HostResponde()
    {
        std::vector<std::string> Vistas;
        KovanSetQuestionBoxHandler(
            [](void* C, const char* Titulo, const char* Texto, const char* const* Botoes, int N, int Padrao) {
                std::string V = std::string(Titulo) + "|" + Texto + "|" + std::to_string(Padrao);
                for (int I = 0; I < N; ++I)
                    V += "|" + std::string(Botoes[I]);
                static_cast<std::vector<std::string>*>(C)->push_back(V);
                return 2;
            },
            &Vistas);
        const char* const Texto = "A configura\xE7\xE3o ser\xE1 exclu\xED""da!";
        QCOMPARE(CaixaDlgMensagemEx("Configurador Mirabelo.", Texto, {"Continuar", "Cancelar", "c", "d"}, 2), 2);
        QCOMPARE(CaixaDlgMensagemEx("T", "M", {}, 1), 0);
        QCOMPARE(Vistas, std::vector<std::string>{"Configurador Mirabelo.|" + std::string(Texto) + "|2|Continuar|Cancelar|c"});
    }

    // A refusal is told once, with the security message; an allowed action shows nothing.
    void PrivilegioRecusadoAvisaOUsuario()
    {
        std::vector<std::tuple<std::string, std::string, unsigned>> Caixas;
        KovanSetMessageBoxHandler(
            [](void* C, const char* Texto, const char* Titulo, unsigned Flags) {
                static_cast<decltype(Caixas)*>(C)->emplace_back(Texto, Titulo, Flags);
                return IDOK;
            },
            &Caixas);
        const bool Permitido = VerPrivilegioEx(Application(), 4, 0), Recusado = !VerPrivilegioEx(Application(), 4, 2);
        KovanSetMessageBoxHandler(nullptr, nullptr);
        QVERIFY(Permitido && Recusado);
        QCOMPARE(Caixas, (decltype(Caixas){{Utf8ParaCp1252("Usuário não autorizado para essa opção."),
                                            Utf8ParaCp1252("SEGURANÇA"), MB_OK | MB_ICONERROR}}));
    }

    // The group database says what failed; the user reads message 43 for a missing library and the
    // layer's own text for everything else.
    void TextoDoErroDoBanco()
    {
        const auto Texto = [](const char* Biblioteca, const char* Sql) {
            const QByteArray Antes = qgetenv("KOVAN_SQLITE_LIBRARY");
            if (Biblioteca)
                qputenv("KOVAN_SQLITE_LIBRARY", Biblioteca);
            std::string T = "(no error)";
            try {
                TMkSqlite Banco;
                Banco.open();
                Banco.exec(Sql);
            } catch (const std::exception& E) {
                T = TextoDoErro(E);
            }
            if (Antes.isEmpty())
                qunsetenv("KOVAN_SQLITE_LIBRARY");
            else
                qputenv("KOVAN_SQLITE_LIBRARY", Antes);
            return T;
        };
        QCOMPARE(Texto("/nao-existe/libsqlite3.so.0", "select 1"), Utf8ParaCp1252("sqlite3.dll não foi encontrado."));
        QCOMPARE(Texto(nullptr, "select * from Nada"), std::string("1:no such table: Nada"));
    }
};

QTEST_MAIN(CaixaDlgMensagemExTeste)
#include "Lib_test.moc"
