-- What the financial pass needs of a cupom's payments: who paid by card or
-- cheque (holder, city, telephone and the message the operator typed), and
-- a title's installment document type beside its means of payment.
ALTER TABLE cupom_pagamento ADD COLUMN titular TEXT NOT NULL DEFAULT '';
ALTER TABLE cupom_pagamento ADD COLUMN cidade TEXT NOT NULL DEFAULT '';
ALTER TABLE cupom_pagamento ADD COLUMN telefone TEXT NOT NULL DEFAULT '';
ALTER TABLE cupom_pagamento ADD COLUMN mensagem TEXT NOT NULL DEFAULT '';
ALTER TABLE titulo_receber ADD COLUMN tipo_documento INTEGER NOT NULL DEFAULT 0;
