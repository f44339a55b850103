-- What the postings of a day's sales need: the ECF's sales clearing account
-- (what its credit sales owe until the titles take them over) and its cash
-- account; a product's last purchase cost; and, per branch, storage place
-- and product, the running quantity and total cost from which the stock
-- movements take their average cost. That row is also what a terminal
-- locks while it takes a place's balance.
ALTER TABLE emissora ADD COLUMN conta_transitoria_vendas TEXT NOT NULL DEFAULT '';
ALTER TABLE emissora ADD COLUMN conta_caixa TEXT NOT NULL DEFAULT '';
ALTER TABLE produto ADD COLUMN custo_ultima_compra BIGINT NOT NULL DEFAULT 0;
CREATE TABLE saldo_local (
  filial INTEGER NOT NULL,
  local_estoque INTEGER NOT NULL,
  produto INTEGER NOT NULL,
  quantidade BIGINT NOT NULL,
  valor BIGINT NOT NULL,
  PRIMARY KEY (filial, local_estoque, produto)
);
