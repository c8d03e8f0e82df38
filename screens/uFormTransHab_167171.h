#pragma once
// "Transações Habilitadas": the debit transactions the network enables for a company, kept in section
// "TrnHabilitada" of the company's Mirabelo.ini. Only the first page ("Débito") is in use.
#include "config/TransHab.h"
#include "screens/uFormPadraoCfgTransHab.h"
#include "runtime/Classes.h"

#include <string>

class TFormTransHab_167171 : public TFormPadraoCfgTransHab {
    Q_OBJECT
public:
    explicit TFormTransHab_167171(QWidget* Owner = nullptr);

    /// Shows the first page and tab, then loads the company in the box.
    void FormShow() override;
    /// Loads the chosen company; one never saved shows its defaults (at once, debit and cancellation)
    /// ready to be saved.
    void ComboBoxEmpresaChange() override;
    /// Checks the number of installments, writes the audit line, then the four values.
    void BitBtnSalvarClick() override;
    /// After a Yes, loads the company again.
    void BitBtnCancelarClick() override;
    /// Removes the section of the current company or of every listed company, one audit line each.
    void BitBtnExcluirClick() override;

    /// Both installment boxes are bound here instead: the base rule, then the screen is modified.
    void Cr_parceladoEstabClick() override;
    void Cr_parceladoAdmClick() override;
    virtual void Cr_parceladoClick();
    virtual void Cr_cancelamentoClick();
    virtual void ParcelasCChange();
    virtual void TabSet1Enter();

    /// Unchecks the three stored boxes and empties the number of installments.
    void LimparTela();
    /// Writes the audit line of Operacao ("INCLUSAO" in any case: the values on the screen; anything
    /// else: the deletion) for Empresa.
    void Monta_Msg_Log(const std::string& Operacao, const std::string& Empresa);

private:
    /// The values on the screen.
    TTransHab Tela() const;
    /// Where the shared save and delete write their audit entries for Empresa: this screen's log.
    TAuditoria Auditoria(const std::string& Empresa);
};

/// The class the module registers under the name "TFormTransHab_167171".
extern const TFormClass ClasseFormTransHab_167171;
