#pragma once
// Base of the enabled-transactions screen: transaction pages, check boxes and installment fields.
#include "screens/uFormPadraoCfgEstab.h"

class TFormPadraoCfgTransHab : public TFormPadraoCfgEstab {
    Q_OBJECT
public:
    explicit TFormPadraoCfgTransHab(QWidget* Owner = nullptr);
};
