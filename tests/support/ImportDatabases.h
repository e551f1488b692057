#pragma once

#include "FirebirdFixture.h"

// Fresh embedded databases ready for an import: one customer (code 10, CNPJ
// 12.345.678/0001-90, state SP, class 1, e-mail compras@tarvelo.com.br) of a branch
// in PR; products 123 (13.2 % ST from PR to SP for class 1) and 456 (no ST row);
// order numbers from 57 on; e-mail requests on.
class ImportDatabases : public FirebirdFixture {
public:
    ImportDatabases();

    static inline const char* const kCustomerCnpj = "12.345.678/0001-90";
};
