-- What the back office's books need to follow the cupom as it was sold and
-- the drawer as it was counted.

-- The tax situation a cupom item was sold under, kept with the item so
-- that a later change of the product's register never changes a past
-- day's fiscal book. Existing items take it from the register of their
-- branch when its tax letter is still the item's; otherwise from the
-- item's own letter (origin of the register, then 00 taxed, 60
-- substitution, 40 exempt, 41 not taxed). Services have none.
ALTER TABLE cupom_item ADD COLUMN cst TEXT NOT NULL DEFAULT '';
UPDATE cupom_item SET cst = COALESCE((
  SELECT CASE WHEN pf.tributacao = cupom_item.tributacao AND pf.situacao_tributaria <> ''
              THEN pf.situacao_tributaria
              ELSE COALESCE(NULLIF(SUBSTR(pf.situacao_tributaria, 1, 1), ''), '0') ||
                   CASE cupom_item.tributacao WHEN 'F' THEN '60' WHEN 'I' THEN '40' WHEN 'N' THEN '41' ELSE '00' END
         END
  FROM cupom c JOIN produto_filial pf ON pf.produto = cupom_item.codigo AND pf.filial = c.filial
  WHERE c.id = cupom_item.cupom), '0' ||
  CASE cupom_item.tributacao WHEN 'F' THEN '60' WHEN 'I' THEN '40' WHEN 'N' THEN '41' ELSE '00' END)
WHERE servico = 0;

-- The fiscal book keeps the document's model (2D a cupom fiscal, 02 a
-- consumer nota written while the ECF was out of order) and the tax
-- letter of its items, so that its lines of the ECF compare with the Z
-- reduction's totalizers.
ALTER TABLE livro_fiscal ADD COLUMN modelo TEXT NOT NULL DEFAULT '2D';
ALTER TABLE livro_fiscal ADD COLUMN tributacao TEXT NOT NULL DEFAULT 'T';

-- A stock movement that returns an earlier exit (a cupom or item cancelled
-- after its stock was integrated) names it; an exit is returned once.
ALTER TABLE movimento_estoque ADD COLUMN estorno_de INTEGER NOT NULL DEFAULT 0;
CREATE INDEX movimento_estoque_por_estorno ON movimento_estoque (estorno_de);

-- The day of the last movement a place's running cost took in: its
-- quantity is the place's balance at the end of that movement.
ALTER TABLE saldo_local ADD COLUMN data INTEGER NOT NULL DEFAULT 0;

-- A receivable received at the till in money is settled on the day.
ALTER TABLE titulo_receber ADD COLUMN data_liquidacao INTEGER NOT NULL DEFAULT 0;

-- The ECF's accounts for what the drawer holds besides the sales: credit
-- vouchers issued instead of change (owed to the customer), the coins of
-- change the store kept (its gain), and the withdrawals and floats that go
-- to and come from the treasury.
ALTER TABLE emissora ADD COLUMN conta_contravales TEXT NOT NULL DEFAULT '';
ALTER TABLE emissora ADD COLUMN conta_arredondamentos TEXT NOT NULL DEFAULT '';
ALTER TABLE emissora ADD COLUMN conta_tesouraria TEXT NOT NULL DEFAULT '';

-- Entries found by account and day: the reconciliation of the till.
CREATE INDEX lancamento_contabil_por_dia ON lancamento_contabil (emissora, data);
CREATE INDEX titulo_receber_por_dia ON titulo_receber (emissora, data);
