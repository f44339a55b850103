-- The company's movement and what the files read beside it: the catalogue
-- (products, services, units, PIS/COFINS rates, price tables), customers
-- and suppliers, document types, natures, payment conditions and means,
-- the chart of accounts, notas fiscais, the ECF cash data (cupons, items,
-- payments, installments, consumer notas, Z reductions and their
-- totalizers, the ECF document log), DAVs, stock positions and inventory
-- balances, and the back office that the integration writes into.
--
-- Amounts and quantities are integers holding the value times 10 000 (the
-- currency value of the data servers); rates are hundredths of a percent;
-- dates are the library's day numbers; times are HHMMSS.

ALTER TABLE filial ADD COLUMN contato TEXT NOT NULL DEFAULT '';
-- Month code (year index times 12 plus month) closed for accounting; 0: none.
ALTER TABLE filial ADD COLUMN mes_bloqueado_contabil INTEGER NOT NULL DEFAULT 0;

-- The ECF's accounting grids and classification accounts of the accounting pass.
ALTER TABLE emissora ADD COLUMN grade_produtos INTEGER NOT NULL DEFAULT 0;
ALTER TABLE emissora ADD COLUMN grade_mercadorias INTEGER NOT NULL DEFAULT 0;
ALTER TABLE emissora ADD COLUMN grade_substituicao INTEGER NOT NULL DEFAULT 0;
ALTER TABLE emissora ADD COLUMN grade_servicos INTEGER NOT NULL DEFAULT 0;
ALTER TABLE emissora ADD COLUMN conta_produtos TEXT NOT NULL DEFAULT '';
ALTER TABLE emissora ADD COLUMN conta_mercadorias TEXT NOT NULL DEFAULT '';
ALTER TABLE emissora ADD COLUMN conta_substituicao TEXT NOT NULL DEFAULT '';
ALTER TABLE emissora ADD COLUMN conta_servicos TEXT NOT NULL DEFAULT '';

-- Nature of the items of produced goods, and the discounts on ISSQN items.
ALTER TABLE mestre_ec ADD COLUMN natureza_producao INTEGER NOT NULL DEFAULT 0;
ALTER TABLE mestre_ec ADD COLUMN desconto_issqn INTEGER NOT NULL DEFAULT 0;

-- Login names and salted password hashes (PBKDF2-HMAC-SHA256).
ALTER TABLE usuario ADD COLUMN login TEXT NOT NULL DEFAULT '';
ALTER TABLE usuario ADD COLUMN senha_sal TEXT NOT NULL DEFAULT '';
ALTER TABLE usuario ADD COLUMN senha_hash TEXT NOT NULL DEFAULT '';
ALTER TABLE usuario ADD COLUMN senha_iteracoes INTEGER NOT NULL DEFAULT 0;
CREATE INDEX usuario_por_login ON usuario (login);

-- Units of measure of products and of services.
CREATE TABLE unidade_medida (
  codigo INTEGER PRIMARY KEY,
  sigla TEXT NOT NULL,
  descricao TEXT NOT NULL DEFAULT ''
);

CREATE TABLE unidade_medida_servico (
  codigo INTEGER PRIMARY KEY,
  sigla TEXT NOT NULL,
  descricao TEXT NOT NULL DEFAULT ''
);

-- Storage places of the stock.
CREATE TABLE local_estoque (
  codigo INTEGER PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  conta_empresarial TEXT NOT NULL DEFAULT '',
  permite_negativo INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE produto (
  codigo INTEGER PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  unidade INTEGER NOT NULL DEFAULT 0,
  -- 1: the unit is written padded with "?"
  unidade_interrogacao INTEGER NOT NULL DEFAULT 0,
  ncm TEXT NOT NULL DEFAULT '',
  ex_ipi TEXT NOT NULL DEFAULT '',
  revenda INTEGER NOT NULL DEFAULT 1,
  situacao TEXT NOT NULL DEFAULT 'A',
  inativo INTEGER NOT NULL DEFAULT 0,
  producao INTEGER NOT NULL DEFAULT 0,
  aliquota_st INTEGER NOT NULL DEFAULT 0,
  base_st BIGINT NOT NULL DEFAULT 0,
  reducao_base INTEGER NOT NULL DEFAULT 0,
  ipi_cst TEXT NOT NULL DEFAULT '',
  ipi_aliquota INTEGER NOT NULL DEFAULT 0,
  ipi_apuracao INTEGER NOT NULL DEFAULT 0,
  conta_contabil TEXT NOT NULL DEFAULT '',
  conta_estoque TEXT NOT NULL DEFAULT '',
  conta_custo TEXT NOT NULL DEFAULT '',
  local_estoque INTEGER NOT NULL DEFAULT 0,
  grade_contabil INTEGER NOT NULL DEFAULT 0
);

-- The tax data of a product in one branch: the tax situation (CST text),
-- the ECF tax letter (T, F, I, N, ...) and the ICMS rate.
CREATE TABLE produto_filial (
  produto INTEGER NOT NULL REFERENCES produto (codigo) ON DELETE CASCADE,
  filial INTEGER NOT NULL,
  situacao_tributaria TEXT NOT NULL DEFAULT '',
  tributacao TEXT NOT NULL DEFAULT 'T',
  aliquota_icms INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (produto, filial)
);

-- PIS (tipo 1) and COFINS (tipo 2) rates of a product with their validity
-- (fim 0: open).
CREATE TABLE produto_pis_cofins (
  produto INTEGER NOT NULL REFERENCES produto (codigo) ON DELETE CASCADE,
  tipo INTEGER NOT NULL CHECK (tipo IN (1, 2)),
  inicio INTEGER NOT NULL,
  fim INTEGER NOT NULL DEFAULT 0,
  aliquota INTEGER NOT NULL,
  PRIMARY KEY (produto, tipo, inicio)
);

CREATE TABLE servico (
  codigo INTEGER PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  unidade INTEGER NOT NULL DEFAULT 0,
  unidade_interrogacao INTEGER NOT NULL DEFAULT 0,
  codigo_lst TEXT NOT NULL DEFAULT '',
  aliquota_iss INTEGER NOT NULL DEFAULT 0,
  aliquota_pis INTEGER NOT NULL DEFAULT 0,
  aliquota_cofins INTEGER NOT NULL DEFAULT 0,
  ativo INTEGER NOT NULL DEFAULT 1,
  producao INTEGER NOT NULL DEFAULT 0,
  conta_contabil TEXT NOT NULL DEFAULT '',
  grade_contabil INTEGER NOT NULL DEFAULT 0
);

-- Price tables: tipo 1 products, tipo 2 services.
CREATE TABLE tabela_preco (
  tipo INTEGER NOT NULL CHECK (tipo IN (1, 2)),
  codigo INTEGER NOT NULL,
  descricao TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (tipo, codigo)
);

CREATE TABLE tabela_preco_item (
  tipo INTEGER NOT NULL,
  tabela INTEGER NOT NULL,
  item INTEGER NOT NULL,
  preco BIGINT NOT NULL,
  PRIMARY KEY (tipo, tabela, item),
  FOREIGN KEY (tipo, tabela) REFERENCES tabela_preco (tipo, codigo) ON DELETE CASCADE
);

-- Customers and suppliers.
CREATE TABLE cfrt (
  codigo INTEGER PRIMARY KEY,
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

-- Fiscal-document models (01, 1B, 02, 04, 2D, 55, ...).
CREATE TABLE documento_fiscal (
  codigo INTEGER PRIMARY KEY,
  modelo TEXT NOT NULL,
  descricao TEXT NOT NULL DEFAULT ''
);

-- Document types; documento_fiscal 0 means none. Installments name their
-- payment form by document type.
CREATE TABLE tipo_documento (
  codigo INTEGER PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  documento_fiscal INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE natureza (
  codigo INTEGER PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  cfop TEXT NOT NULL DEFAULT ''
);

CREATE TABLE condicao_pagamento (
  codigo INTEGER PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  a_vista INTEGER NOT NULL DEFAULT 1
);

-- Means of payment of the ECF (codes 250 and up are the printer's own).
CREATE TABLE forma_pagamento (
  codigo INTEGER PRIMARY KEY,
  nome TEXT NOT NULL DEFAULT '',
  a_prazo INTEGER NOT NULL DEFAULT 0,
  conta_entrada_fn TEXT NOT NULL DEFAULT ''
);

CREATE TABLE plano_conta (
  codigo TEXT PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  analitica INTEGER NOT NULL DEFAULT 1,
  exige_gerencial INTEGER NOT NULL DEFAULT 0
);

-- Accounting grids of the stock and of the ECF sales.
CREATE TABLE grade_contabil (
  codigo INTEGER PRIMARY KEY,
  descricao TEXT NOT NULL DEFAULT '',
  conta_debito TEXT NOT NULL DEFAULT '',
  conta_credito TEXT NOT NULL DEFAULT ''
);

-- Notas fiscais issued by the branches.
CREATE TABLE nota_fiscal (
  id INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  tipo_documento INTEGER NOT NULL,
  serie TEXT NOT NULL DEFAULT '',
  numero INTEGER NOT NULL,
  data INTEGER NOT NULL,
  participante INTEGER NOT NULL DEFAULT 0,
  cancelada INTEGER NOT NULL DEFAULT 0,
  inutilizada INTEGER NOT NULL DEFAULT 0,
  denegada INTEGER NOT NULL DEFAULT 0,
  chave_nfe TEXT NOT NULL DEFAULT '',
  -- 12 and 30 are kinds whose amounts are not declared in the 50 records.
  codigo_tipo INTEGER NOT NULL DEFAULT 0,
  observacao TEXT NOT NULL DEFAULT '',
  condicao_pagamento INTEGER NOT NULL DEFAULT 0,
  valor_total BIGINT NOT NULL DEFAULT 0,
  desconto BIGINT NOT NULL DEFAULT 0,
  abatimento1 BIGINT NOT NULL DEFAULT 0,
  abatimento2 BIGINT NOT NULL DEFAULT 0,
  valor_mercadorias BIGINT NOT NULL DEFAULT 0,
  indicador_frete INTEGER NOT NULL DEFAULT 0,
  frete BIGINT NOT NULL DEFAULT 0,
  seguro BIGINT NOT NULL DEFAULT 0,
  outras_despesas BIGINT NOT NULL DEFAULT 0,
  base_icms BIGINT NOT NULL DEFAULT 0,
  icms BIGINT NOT NULL DEFAULT 0,
  base_st BIGINT NOT NULL DEFAULT 0,
  icms_st BIGINT NOT NULL DEFAULT 0,
  ipi BIGINT NOT NULL DEFAULT 0,
  pis BIGINT NOT NULL DEFAULT 0,
  cofins BIGINT NOT NULL DEFAULT 0,
  pis_st BIGINT NOT NULL DEFAULT 0,
  cofins_st BIGINT NOT NULL DEFAULT 0,
  isentas BIGINT NOT NULL DEFAULT 0,
  outras BIGINT NOT NULL DEFAULT 0
);
CREATE INDEX nota_fiscal_por_filial ON nota_fiscal (filial, data, id);

CREATE TABLE nota_fiscal_item (
  nota INTEGER NOT NULL REFERENCES nota_fiscal (id) ON DELETE CASCADE,
  sequencia INTEGER NOT NULL,
  servico INTEGER NOT NULL DEFAULT 0,
  codigo INTEGER NOT NULL,
  descricao TEXT NOT NULL DEFAULT '',
  quantidade BIGINT NOT NULL DEFAULT 0,
  valor_item BIGINT NOT NULL DEFAULT 0,
  -- the unit discount with eight decimals (value times 10^8)
  desconto_unitario BIGINT NOT NULL DEFAULT 0,
  indicador_movimento INTEGER NOT NULL DEFAULT 0,
  natureza INTEGER NOT NULL DEFAULT 0,
  base_icms BIGINT NOT NULL DEFAULT 0,
  aliquota_icms INTEGER NOT NULL DEFAULT 0,
  icms BIGINT NOT NULL DEFAULT 0,
  base_st BIGINT NOT NULL DEFAULT 0,
  aliquota_st INTEGER NOT NULL DEFAULT 0,
  icms_st BIGINT NOT NULL DEFAULT 0,
  reducao_base BIGINT NOT NULL DEFAULT 0,
  base_ipi BIGINT NOT NULL DEFAULT 0,
  aliquota_ipi INTEGER NOT NULL DEFAULT 0,
  ipi BIGINT NOT NULL DEFAULT 0,
  cst_pis INTEGER NOT NULL DEFAULT 0,
  base_pis BIGINT NOT NULL DEFAULT 0,
  aliquota_pis INTEGER NOT NULL DEFAULT 0,
  pis BIGINT NOT NULL DEFAULT 0,
  cst_cofins INTEGER NOT NULL DEFAULT 0,
  base_cofins BIGINT NOT NULL DEFAULT 0,
  aliquota_cofins INTEGER NOT NULL DEFAULT 0,
  cofins BIGINT NOT NULL DEFAULT 0,
  PRIMARY KEY (nota, sequencia)
);

-- How a nota was paid, in the ECF's means of payment.
CREATE TABLE nota_fiscal_pagamento (
  nota INTEGER NOT NULL REFERENCES nota_fiscal (id) ON DELETE CASCADE,
  sequencia INTEGER NOT NULL,
  forma INTEGER NOT NULL,
  valor BIGINT NOT NULL,
  PRIMARY KEY (nota, sequencia)
);

-- The ECF cash data. A row of cupom is a cupom fiscal, or (status 4) a
-- consumer nota of model 02 kept with them, covering the numbers
-- numero_inicial to numero_final.
CREATE TABLE cupom (
  id INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  emissora INTEGER NOT NULL,
  data INTEGER NOT NULL,
  hora INTEGER NOT NULL DEFAULT 0,
  coo INTEGER NOT NULL DEFAULT 0,
  ccf INTEGER NOT NULL DEFAULT 0,
  sequencia INTEGER NOT NULL,
  status INTEGER NOT NULL DEFAULT 0,
  origem INTEGER NOT NULL DEFAULT 0,
  cancelado INTEGER NOT NULL DEFAULT 0,
  cliente INTEGER NOT NULL DEFAULT 0,
  documento_cliente TEXT NOT NULL DEFAULT '',
  nome_cliente TEXT NOT NULL DEFAULT '',
  condicao_pagamento INTEGER NOT NULL DEFAULT 0,
  subtotal BIGINT NOT NULL DEFAULT 0,
  desconto BIGINT NOT NULL DEFAULT 0,
  total BIGINT NOT NULL DEFAULT 0,
  numero_inicial INTEGER NOT NULL DEFAULT 0,
  numero_final INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX cupom_por_dia ON cupom (emissora, data, sequencia);
CREATE INDEX cupom_por_filial ON cupom (filial, data, status);

CREATE TABLE cupom_item (
  cupom INTEGER NOT NULL REFERENCES cupom (id) ON DELETE CASCADE,
  item INTEGER NOT NULL,
  servico INTEGER NOT NULL DEFAULT 0,
  codigo INTEGER NOT NULL,
  descricao TEXT NOT NULL DEFAULT '',
  quantidade BIGINT NOT NULL DEFAULT 0,
  valor_unitario BIGINT NOT NULL DEFAULT 0,
  desconto BIGINT NOT NULL DEFAULT 0,
  valor_total BIGINT NOT NULL DEFAULT 0,
  aliquota INTEGER NOT NULL DEFAULT 0,
  tributacao TEXT NOT NULL DEFAULT 'T',
  cancelado INTEGER NOT NULL DEFAULT 0,
  excluido INTEGER NOT NULL DEFAULT 0,
  integrado_estoque INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (cupom, item)
);

CREATE TABLE cupom_pagamento (
  cupom INTEGER NOT NULL REFERENCES cupom (id) ON DELETE CASCADE,
  sequencia INTEGER NOT NULL,
  forma INTEGER NOT NULL,
  valor BIGINT NOT NULL,
  gnf INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (cupom, sequencia)
);

CREATE TABLE cupom_parcela (
  cupom INTEGER NOT NULL REFERENCES cupom (id) ON DELETE CASCADE,
  sequencia INTEGER NOT NULL,
  valor BIGINT NOT NULL,
  tipo_documento INTEGER NOT NULL DEFAULT 0,
  vencimento INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (cupom, sequencia)
);

-- Z reductions: one per ECF and movement day.
CREATE TABLE reducao_z (
  emissora INTEGER NOT NULL,
  data INTEGER NOT NULL,
  crz INTEGER NOT NULL,
  cro INTEGER NOT NULL,
  coo_inicial INTEGER NOT NULL DEFAULT 0,
  coo_final INTEGER NOT NULL DEFAULT 0,
  venda_bruta BIGINT NOT NULL DEFAULT 0,
  grande_total BIGINT NOT NULL DEFAULT 0,
  data_emissao INTEGER NOT NULL DEFAULT 0,
  hora_emissao INTEGER NOT NULL DEFAULT 0,
  substituicao BIGINT NOT NULL DEFAULT 0,
  isento BIGINT NOT NULL DEFAULT 0,
  nao_tributado BIGINT NOT NULL DEFAULT 0,
  cancelamentos BIGINT NOT NULL DEFAULT 0,
  descontos BIGINT NOT NULL DEFAULT 0,
  acrescimos BIGINT NOT NULL DEFAULT 0,
  iss BIGINT NOT NULL DEFAULT 0,
  PRIMARY KEY (emissora, data)
);

-- The rate totalizers of a Z reduction (position in the ECF's table).
CREATE TABLE reducao_z_aliquota (
  emissora INTEGER NOT NULL,
  data INTEGER NOT NULL,
  posicao INTEGER NOT NULL,
  tipo TEXT NOT NULL,
  aliquota INTEGER NOT NULL,
  valor BIGINT NOT NULL,
  PRIMARY KEY (emissora, data, posicao),
  FOREIGN KEY (emissora, data) REFERENCES reducao_z (emissora, data) ON DELETE CASCADE
);

-- The non-fiscal totalizers of a Z reduction (codes 0 to 255).
CREATE TABLE reducao_z_nao_fiscal (
  emissora INTEGER NOT NULL,
  data INTEGER NOT NULL,
  codigo INTEGER NOT NULL CHECK (codigo >= 0 AND codigo <= 255),
  valor BIGINT NOT NULL,
  PRIMARY KEY (emissora, data, codigo),
  FOREIGN KEY (emissora, data) REFERENCES reducao_z (emissora, data) ON DELETE CASCADE
);

-- The ECF's document log: the operation codes of the last-COO descriptions.
CREATE TABLE documento_ecf (
  emissora INTEGER NOT NULL,
  data INTEGER NOT NULL,
  hora INTEGER NOT NULL DEFAULT 0,
  coo INTEGER NOT NULL,
  tipo INTEGER NOT NULL,
  gnf INTEGER NOT NULL DEFAULT 0,
  grg INTEGER NOT NULL DEFAULT 0,
  cdc INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (emissora, coo)
);
CREATE INDEX documento_ecf_por_dia ON documento_ecf (emissora, data);

CREATE TABLE dav (
  id INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  emissora INTEGER NOT NULL,
  numero INTEGER NOT NULL,
  data INTEGER NOT NULL,
  valor BIGINT NOT NULL DEFAULT 0,
  coo_dav INTEGER NOT NULL DEFAULT 0,
  coo_cupom INTEGER NOT NULL DEFAULT 0,
  cliente INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX dav_por_emissora ON dav (emissora, data, id);

CREATE TABLE dav_item (
  dav INTEGER NOT NULL REFERENCES dav (id) ON DELETE CASCADE,
  item INTEGER NOT NULL,
  produto INTEGER NOT NULL,
  quantidade BIGINT NOT NULL DEFAULT 0,
  valor_unitario BIGINT NOT NULL DEFAULT 0,
  desconto BIGINT NOT NULL DEFAULT 0,
  acrescimo BIGINT NOT NULL DEFAULT 0,
  valor_total BIGINT NOT NULL DEFAULT 0,
  tributacao TEXT NOT NULL DEFAULT 'T',
  aliquota INTEGER NOT NULL DEFAULT 0,
  cancelado INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (dav, item)
);

-- Stock position of a product in a branch at the end of a day.
CREATE TABLE estoque_posicao (
  filial INTEGER NOT NULL,
  produto INTEGER NOT NULL,
  data INTEGER NOT NULL,
  quantidade BIGINT NOT NULL,
  PRIMARY KEY (filial, produto, data)
);

-- Inventory balances of a branch at a date.
CREATE TABLE estoque_inventario (
  filial INTEGER NOT NULL,
  data INTEGER NOT NULL,
  produto INTEGER NOT NULL,
  quantidade BIGINT NOT NULL DEFAULT 0,
  valor_unitario BIGINT NOT NULL DEFAULT 0,
  valor_total BIGINT NOT NULL DEFAULT 0,
  PRIMARY KEY (filial, data, produto)
);

-- What the integration passes write into the back office. Each row names
-- the cupom or the integration key it came from.
CREATE TABLE chave_integracao (
  id INTEGER PRIMARY KEY,
  modulo TEXT NOT NULL,
  data INTEGER NOT NULL,
  emissora INTEGER NOT NULL,
  sev INTEGER NOT NULL,
  fac INTEGER NOT NULL,
  cod INTEGER NOT NULL
);
CREATE INDEX chave_integracao_por_dia ON chave_integracao (modulo, data, emissora);

CREATE TABLE movimento_estoque (
  id INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  local_estoque INTEGER NOT NULL DEFAULT 0,
  produto INTEGER NOT NULL,
  data INTEGER NOT NULL,
  quantidade BIGINT NOT NULL,
  emissora INTEGER NOT NULL DEFAULT 0,
  cupom INTEGER NOT NULL DEFAULT 0,
  item INTEGER NOT NULL DEFAULT 0,
  cfop TEXT NOT NULL DEFAULT '',
  tipo_documento INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX movimento_estoque_por_cupom ON movimento_estoque (cupom, item);

CREATE TABLE lancamento_contabil (
  id INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  data INTEGER NOT NULL,
  conta_debito TEXT NOT NULL,
  conta_credito TEXT NOT NULL,
  valor BIGINT NOT NULL,
  historico TEXT NOT NULL DEFAULT '',
  gerencial TEXT NOT NULL DEFAULT '',
  origem TEXT NOT NULL DEFAULT '',
  chave INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE livro_fiscal (
  id INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  data INTEGER NOT NULL,
  emissora INTEGER NOT NULL,
  natureza INTEGER NOT NULL DEFAULT 0,
  cfop TEXT NOT NULL DEFAULT '',
  produto INTEGER NOT NULL DEFAULT 0,
  servico INTEGER NOT NULL DEFAULT 0,
  aliquota INTEGER NOT NULL DEFAULT 0,
  valor BIGINT NOT NULL DEFAULT 0,
  base_icms BIGINT NOT NULL DEFAULT 0,
  icms BIGINT NOT NULL DEFAULT 0,
  historico TEXT NOT NULL DEFAULT '',
  chave INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE titulo_receber (
  id INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  data INTEGER NOT NULL,
  cliente INTEGER NOT NULL DEFAULT 0,
  forma INTEGER NOT NULL DEFAULT 0,
  numero INTEGER NOT NULL DEFAULT 0,
  vencimento INTEGER NOT NULL DEFAULT 0,
  valor BIGINT NOT NULL,
  historico TEXT NOT NULL DEFAULT '',
  chave INTEGER NOT NULL DEFAULT 0
);
