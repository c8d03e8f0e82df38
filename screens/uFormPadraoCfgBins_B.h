#pragma once
// Base of the BIN-table screen: the BIN tables view and edit panel.
#include "screens/uFormPadraoCfgEstab.h"

class TFormPadraoCfgBins_B : public TFormPadraoCfgEstab {
    Q_OBJECT
public:
    explicit TFormPadraoCfgBins_B(QWidget* Owner = nullptr);
};
