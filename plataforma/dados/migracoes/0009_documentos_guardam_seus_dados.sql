-- A document keeps what it was issued with, so that a later change or
-- deletion in a register never changes or drops a past file.

-- The participant of a nota as it was when the nota was issued: the
-- register's columns, one row per nota. Notas already written take their
-- participant as the register holds it now (one deleted before has none).
CREATE TABLE nota_fiscal_participante (
  nota INTEGER PRIMARY KEY REFERENCES nota_fiscal (id) ON DELETE CASCADE,
  codigo INTEGER NOT NULL,
  nome TEXT NOT NULL DEFAULT '',
  tipo_pessoa TEXT NOT NULL DEFAULT 'J',
  cnpj_cpf TEXT NOT NULL DEFAULT '',
  inscricao_estadual TEXT NOT NULL DEFAULT '',
  estrangeiro INTEGER NOT NULL DEFAULT 0,
  pais TEXT NOT NULL DEFAULT '1058',
  uf TEXT NOT NULL DEFAULT '',
  municipio INTEGER NOT NULL DEFAULT 0,
  suframa TEXT NOT NULL DEFAULT '',
  endereco TEXT NOT NULL DEFAULT '',
  numero INTEGER NOT NULL DEFAULT 0,
  complemento TEXT NOT NULL DEFAULT '',
  bairro TEXT NOT NULL DEFAULT '',
  cep TEXT NOT NULL DEFAULT '',
  telefone TEXT NOT NULL DEFAULT '',
  conta_contabil TEXT NOT NULL DEFAULT ''
);
INSERT INTO nota_fiscal_participante (nota, codigo, nome, tipo_pessoa, cnpj_cpf, inscricao_estadual, estrangeiro,
  pais, uf, municipio, suframa, endereco, numero, complemento, bairro, cep, telefone, conta_contabil)
SELECT n.id, c.codigo, c.nome, c.tipo_pessoa, c.cnpj_cpf, c.inscricao_estadual, c.estrangeiro, c.pais, c.uf,
  c.municipio, c.suframa, c.endereco, c.numero, c.complemento, c.bairro, c.cep, c.telefone, c.conta_contabil
FROM nota_fiscal n JOIN cfrt c ON c.codigo = n.participante;

-- The product as a cupom item or a nota item was sold: besides its
-- description and tax letter, its unit, NCM and (a nota item's) tax
-- situation. Items already written take them from the register.
ALTER TABLE cupom_item ADD COLUMN unidade INTEGER NOT NULL DEFAULT 0;
ALTER TABLE cupom_item ADD COLUMN ncm TEXT NOT NULL DEFAULT '';
UPDATE cupom_item SET
  unidade = COALESCE((SELECT p.unidade FROM produto p WHERE p.codigo = cupom_item.codigo), 0),
  ncm = COALESCE((SELECT p.ncm FROM produto p WHERE p.codigo = cupom_item.codigo), '')
WHERE servico = 0;
UPDATE cupom_item SET unidade = COALESCE((SELECT s.unidade FROM servico s WHERE s.codigo = cupom_item.codigo), 0)
WHERE servico = 1;
ALTER TABLE nota_fiscal_item ADD COLUMN cst TEXT NOT NULL DEFAULT '';
ALTER TABLE nota_fiscal_item ADD COLUMN unidade INTEGER NOT NULL DEFAULT 0;
ALTER TABLE nota_fiscal_item ADD COLUMN ncm TEXT NOT NULL DEFAULT '';
UPDATE nota_fiscal_item SET
  cst = COALESCE((SELECT pf.situacao_tributaria FROM nota_fiscal n JOIN produto_filial pf ON
    pf.produto = nota_fiscal_item.codigo AND pf.filial = n.filial WHERE n.id = nota_fiscal_item.nota), ''),
  unidade = COALESCE((SELECT p.unidade FROM produto p WHERE p.codigo = nota_fiscal_item.codigo), 0),
  ncm = COALESCE((SELECT p.ncm FROM produto p WHERE p.codigo = nota_fiscal_item.codigo), '')
WHERE servico = 0;
CREATE INDEX cupom_item_por_codigo ON cupom_item (codigo, servico);
CREATE INDEX nota_fiscal_item_por_codigo ON nota_fiscal_item (codigo, servico);
