#pragma once
// "Transações Habilitadas": the debit transactions the network enables for a company.
#include "screens/uFormPadraoCfgTransHab.h"
#include "runtime/Classes.h"

class TFormTransHab_167171 : public TFormPadraoCfgTransHab {
    Q_OBJECT
public:
    explicit TFormTransHab_167171(QWidget* Owner = nullptr);
};

/// The class the module registers under the name "TFormTransHab_167171".
extern const TFormClass ClasseFormTransHab_167171;
