#pragma once
// "Tabela Bins": the debit and fuel BIN tables of a company or of the general file.
#include "screens/uFormPadraoCfgBins_B.h"
#include "runtime/Classes.h"

class TFormTabelaBins_167171 : public TFormPadraoCfgBins_B {
    Q_OBJECT
public:
    explicit TFormTabelaBins_167171(QWidget* Owner = nullptr);
};

/// The class the module registers under the name "TFormTabelaBins_167171".
extern const TFormClass ClasseFormTabelaBins_167171;
