// A screen as a host drives it and a person uses it: created through the registry, shown, typed into
// (keys go to the widget that has the focus), with handlers that throw.
#include "CaixasTeste.h"
#include "runtime/Classes.h"
#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>
#include <stdexcept>

namespace {

// A small screen: a company box, an edit, two buttons.
class TFormTeste : public TForm {
public:
    explicit TFormTeste(QWidget* Owner) : TForm(Owner)
    {
        SetClientSize(400, 200);
        Combo = CriaControle<TComboBox>(this, "ComboBoxEmpresa", 10, 10, 86, 22);
        Edit = CriaControle<TEdit>(this, "Edit1", 200, 10, 100, 22);
        Salvar = CriaControle<TBitBtn>(this, "BitBtnSalvar", 220, 160, 75, 25);
        Retornar = CriaControle<TBitBtn>(this, "BitBtnRetornar", 310, 160, 75, 25);
        Retornar->SetCancel(true);
        Salvar->SetAnchors(akRight | akBottom);
        Combo->SetAnchors(akLeft | akTop | akRight);
        connect(Salvar, &TButton::Click, this, [this] {
            Eventos.push_back("Salvar");
            if (FalhaAoSalvar)
                throw std::runtime_error("database is locked");
        });
        connect(Retornar, &TButton::Click, this, [this] { Eventos.push_back("Retornar"); });
        connect(Combo, &TComboBox::Change, this, [this] {
            if (Combo->Text() == "x")
                throw std::runtime_error("5:database is locked");
        });
    }
    void CaixaDeFechar(QCloseEvent* Evento) { closeEvent(Evento); }
    static TForm* Cria(QWidget* Owner) { return new TFormTeste(Owner); }

    TComboBox* Combo;
    TEdit* Edit;
    TBitBtn *Salvar, *Retornar;
    std::vector<std::string> Eventos;
    bool FalhaAoSalvar = false;

protected:
    void FormCreate() override { Eventos.push_back(Combo ? "FormCreate" : "sem controles"); }
    void FormShow() override
    {
        Eventos.push_back("FormShow");
        PostMessage(1324);
        Eventos.push_back("fim do FormShow");
    }
    void TrataMensagem(int Mensagem) override { Eventos.push_back(std::to_string(Mensagem)); }
};

const TFormClass ClasseTeste{"TFormTeste", &TFormTeste::Cria};

TFormTeste* AbreAtivo()
{
    auto* Form = static_cast<TFormTeste*>(CriaFormPorNome("tformteste", nullptr));
    Form->show();
    Form->activateWindow();
    if (!QTest::qWaitForWindowActive(Form))
        qFatal("the test window did not become active");
    return Form;
}

void Tecla(Qt::Key K, Qt::KeyboardModifiers M = Qt::NoModifier) { QTest::keyClick(QApplication::focusWidget(), K, M); }

} // namespace

class FormsTeste : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(RegisterClass(ClasseTeste)); }

    // Created by name: FormCreate has run when the call returns; FormShow once; the posted message
    // arrives after FormShow returned. A handler that throws, on a child button or a combo box: a
    // message box with the text, and the screen goes on working.
    void CicloDeVidaEExcecaoDeQualquerControle()
    {
        QCOMPARE(CriaFormPorNome("TFormQueNaoHa", nullptr), nullptr);
        std::unique_ptr<TFormTeste> Form(AbreAtivo());
        Form->hide();
        Form->show();
        QTRY_COMPARE(Form->Eventos, (std::vector<std::string>{"FormCreate", "FormShow", "fim do FormShow", "1324"}));
        Form->FalhaAoSalvar = true;
        QTest::mouseClick(Form->Salvar, Qt::LeftButton);
        Form->Combo->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), "x");
        QCOMPARE(Caixas.Caixas.size(), 2u);
        QCOMPARE(Caixas.Caixas[0].Texto + "|" + Caixas.Caixas[1].Texto, std::string("database is locked|5:database is locked"));
        Form->FalhaAoSalvar = false;
        QTest::mouseClick(Form->Salvar, Qt::LeftButton);
        QCOMPARE(std::count(Form->Eventos.begin(), Form->Eventos.end(), "Salvar"), 2);
        QVERIFY(Form->isVisible());
    }

    // Esc presses the cancel button, Enter the focused button (no screen has a default one), the close
    // box the cancel button; anchors hold when the form grows.
    void EscEnterAncoras()
    {
        std::unique_ptr<TFormTeste> Form(AbreAtivo());
        Form->Eventos.clear();
        Form->Combo->setFocus();
        Tecla(Qt::Key_Escape);
        Tecla(Qt::Key_Return);  // no button has the focus, none is the default: nothing
        Form->Retornar->setFocus();
        Tecla(Qt::Key_Return);
        QCloseEvent Fechar; // the window's close box
        QSpontaneKeyEvent::setSpontaneous(&Fechar);
        Form->CaixaDeFechar(&Fechar); // sendEvent would make it look sent by code
        QVERIFY(!Fechar.isAccepted());
        QCOMPARE(Form->Eventos, (std::vector<std::string>{"Retornar", "Retornar", "Retornar"}));

        const QRect Botao = Form->Salvar->geometry(), Combo = Form->Combo->geometry();
        Form->resize(500, 260);
        QTRY_COMPARE(Form->Salvar->geometry(), Botao.translated(100, 60));
        QCOMPARE(Form->Combo->geometry(), Combo.adjusted(0, 0, 100, 0));
    }

    // Focus that leaves the screen's controls without entering another is no Exit: the combo box's
    // open list, a box over the screen, the screen deleted.
    void SemSaidaSemOutroControle()
    {
        std::unique_ptr<TFormTeste> Form(AbreAtivo());
        int Saidas = 0;
        connect(Form->Combo, &TComboBox::Exit, Form.get(), [&] { ++Saidas; });
        Form->Combo->setFocus();
        Form->Combo->SetItems({"00000123", "00000456"});
        Form->Combo->SetDroppedDown(true);
        QTRY_VERIFY(QApplication::focusWidget() != Form->Combo);
        Form->Combo->SetDroppedDown(false);
        auto* Caixa = new QMessageBox(Form.get());
        Caixa->show();
        QVERIFY(QTest::qWaitForWindowActive(Caixa));
        Caixa->hide();
        Form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
        QCOMPARE(Saidas, 0);
        Form->Edit->setFocus();
        QCOMPARE(Saidas, 1);
        Form->Combo->setFocus();
        Form.reset();
        QCOMPARE(Saidas, 1);
    }

    // Long work keeps the hourglass; past half a second a window counts the steps, and its Cancel (in
    // Portuguese) stops the work between two steps.
    void ProgressoDeTrabalhoLongo()
    {
        QStringList Visto;
        int Passos = 0;
        {
            TProgresso Progresso("Excluindo...", 10, true);
            QCOMPARE(Screen().Cursor(), crHourGlass);
            QTimer::singleShot(800, [&Visto] {
                auto* Janela = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
                if (!Janela)
                    return;
                Visto << Janela->labelText() << QString::number(Janela->value());
                for (QPushButton* B : Janela->findChildren<QPushButton*>())
                    Visto << B->text();
                Janela->cancel();
            });
            while (Progresso.Avanca(Passos) && Passos < 10) {
                QTest::qWait(150); // a company's work
                ++Passos;
            }
        }
        QCOMPARE(Screen().Cursor(), crDefault);
        QVERIFY2(Passos >= 4 && Passos < 10, QByteArray::number(Passos));
        QCOMPARE(Visto.size(), 3);
        QCOMPARE(Visto[0], "Excluindo...");
        QCOMPARE(Visto[2], "Cancelar");
    }

private:
    TCaixasTeste Caixas;
};

QTEST_MAIN(FormsTeste)
#include "Forms_test.moc"
