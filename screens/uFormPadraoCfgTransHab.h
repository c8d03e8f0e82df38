#pragma once
// Base of the enabled-transactions screens: an inner set of transaction pages (credit, debit, agreement
// cards) with their check boxes and installment and date fields, driven by a tab set laid over the
// pages' own tabs, and the rules that tie those controls together. It reads and writes nothing; a
// network's screen maps the controls to its ini keys.
#include "screens/uFormPadraoCfgEstab.h"

class TCheckBox;
class TEdit;
class TLabel;
class TPageControl;
class TTabSet;
class TTabSheet;

class TFormPadraoCfgTransHab : public TFormPadraoCfgEstab {
    Q_OBJECT
public:
    explicit TFormPadraoCfgTransHab(QWidget* Owner = nullptr);

    /// ParcelasC and Label1 usable while either installment kind is checked; the text stays.
    virtual void Cr_parceladoEstabClick();
    virtual void Cr_parceladoAdmClick();
    /// ParcelasCon and Label6 usable while Conv_parceladaEstab is checked.
    virtual void Conv_parceladaEstabClick();
    /// The six date fields and their labels usable while Deb_preData is checked.
    virtual void Deb_preDataClick();
    /// Only digits and editing keys reach the numeric fields.
    virtual void ParcelasCKeyPress(char& Key);
    virtual void ParcelasConKeyPress(char& Key);
    virtual void PD_dKeyPress(char& Key);
    /// A full day or month field hands the focus on; the year field (four digits) never does.
    virtual void PD_dChange(TEdit* Sender);
    /// The tab set drives the pages; a page without a tab goes back to the tab set's page.
    virtual void TabSet1Click();
    virtual void PageControl1Change();
    /// Entering the pages puts the focus on the first check box of the page, or, for a user who may
    /// only view (level 2) or while no listed company is shown, on Retornar when there is one tab.
    virtual void PageControl1Enter();
    /// Delete and Ctrl+V empty the company box instead of deleting or pasting. Replaces the base
    /// screen's handler (F4 is left to the box itself).
    void ComboBoxEmpresaKeyDown(Word& Key, TShiftState Shift) override;
    /// Save and cancel usable while modified; delete and the company box while not, on every server.
    void DadosModificados(bool Valor) override;

protected:
    TPageControl* PageControl1;
    TTabSheet* TabCred;
    TTabSheet* TabDebt;
    TTabSheet* TabConvenio;
    TCheckBox* Conv_vista;
    TCheckBox* Conv_parceladaEstab;
    TCheckBox* Conv_cancelamento;
    TLabel* Label6;
    TEdit* ParcelasCon;
    TCheckBox* Deb_vista;
    TCheckBox* Deb_CDC;
    TCheckBox* Deb_cancelamento;
    TCheckBox* Deb_preData;
    TLabel* Label3;
    TEdit* PD_d;
    TEdit* PD_m;
    TEdit* PD_a;
    TLabel* Label41;
    TLabel* Label7;
    TLabel* Label5;
    TEdit* PP_d;
    TEdit* PP_m;
    TEdit* PP_a;
    TLabel* Label8;
    TLabel* Label9;
    TCheckBox* Cr_vista;
    TLabel* Label1;
    TEdit* ParcelasC;
    TCheckBox* Cr_parceladoEstab;
    TCheckBox* Cr_cancelamento;
    TCheckBox* Cr_parceladoAdm;
    TTabSet* TabSet1;
};
