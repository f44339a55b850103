-- What the integration passes need beyond the movement: numbers for the
-- rows they write, the value and document of a stock movement, and the
-- indexes that let a pass find and remove what an earlier one wrote.

-- One counter per kind of row. A writer takes numbers with
-- UPDATE ... RETURNING, which locks the counter's row until its transaction
-- ends: two terminals never get the same number.
CREATE TABLE qmx_sequencia (
  nome TEXT PRIMARY KEY,
  valor BIGINT NOT NULL
);
INSERT INTO qmx_sequencia (nome, valor) SELECT 'movimento_estoque', COALESCE(MAX(id), 0) FROM movimento_estoque;
INSERT INTO qmx_sequencia (nome, valor) SELECT 'lancamento_contabil', COALESCE(MAX(id), 0) FROM lancamento_contabil;
INSERT INTO qmx_sequencia (nome, valor) SELECT 'livro_fiscal', COALESCE(MAX(id), 0) FROM livro_fiscal;
INSERT INTO qmx_sequencia (nome, valor) SELECT 'titulo_receber', COALESCE(MAX(id), 0) FROM titulo_receber;
INSERT INTO qmx_sequencia (nome, valor) SELECT 'chave_integracao', COALESCE(MAX(id), 0) FROM chave_integracao;
-- Integration numbers: the COD of an integration key.
INSERT INTO qmx_sequencia (nome, valor) VALUES ('integracao', 0);

-- The stock movement's value (what its accounting posts) and the document
-- key of the cupom it came from.
ALTER TABLE movimento_estoque ADD COLUMN valor BIGINT NOT NULL DEFAULT 0;
ALTER TABLE movimento_estoque ADD COLUMN documento TEXT NOT NULL DEFAULT '';
CREATE INDEX movimento_estoque_por_produto ON movimento_estoque (filial, produto, data);

-- The stock movement an accounting entry posts (0: none) and the ECF of
-- the integration that wrote it.
ALTER TABLE lancamento_contabil ADD COLUMN movimento INTEGER NOT NULL DEFAULT 0;
ALTER TABLE lancamento_contabil ADD COLUMN emissora INTEGER NOT NULL DEFAULT 0;
CREATE INDEX lancamento_contabil_por_chave ON lancamento_contabil (chave);
CREATE INDEX lancamento_contabil_por_movimento ON lancamento_contabil (movimento);

-- The fiscal-book lines keep the quantity, the unit, the tax situation and
-- the PIS/COFINS rates of the grouped items.
ALTER TABLE livro_fiscal ADD COLUMN quantidade BIGINT NOT NULL DEFAULT 0;
ALTER TABLE livro_fiscal ADD COLUMN unidade TEXT NOT NULL DEFAULT '';
ALTER TABLE livro_fiscal ADD COLUMN situacao_tributaria TEXT NOT NULL DEFAULT '';
ALTER TABLE livro_fiscal ADD COLUMN aliquota_pis INTEGER NOT NULL DEFAULT 0;
ALTER TABLE livro_fiscal ADD COLUMN aliquota_cofins INTEGER NOT NULL DEFAULT 0;
CREATE INDEX livro_fiscal_por_chave ON livro_fiscal (chave);

-- The receivable's ECF, cupom and entry account.
ALTER TABLE titulo_receber ADD COLUMN emissora INTEGER NOT NULL DEFAULT 0;
ALTER TABLE titulo_receber ADD COLUMN cupom INTEGER NOT NULL DEFAULT 0;
ALTER TABLE titulo_receber ADD COLUMN conta TEXT NOT NULL DEFAULT '';
CREATE INDEX titulo_receber_por_chave ON titulo_receber (chave);
