#pragma once
// "Estabelecimento": the establishment code the network assigned to each company.
#include "screens/uFormPadraoCfgEstab.h"
#include "runtime/Classes.h"

class TFormEstabelecimento_167171 : public TFormPadraoCfgEstab {
    Q_OBJECT
public:
    explicit TFormEstabelecimento_167171(QWidget* Owner = nullptr);
};

/// The class the module registers under the name "TFormEstabelecimento_167171".
extern const TFormClass ClasseFormEstabelecimento_167171;
