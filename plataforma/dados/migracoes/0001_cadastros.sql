-- Registers of a company that the point-of-sale library reads: branches,
-- ECFs and their rate tables, the point-of-sale master data, users with
-- their branch permissions, municipalities, states and the system
-- initialisation data. Written for both SQLite and PostgreSQL: integers,
-- texts (UTF-8) and nothing engine-specific.

CREATE TABLE estado (
  codigo INTEGER PRIMARY KEY,
  sigla TEXT NOT NULL,
  nome TEXT NOT NULL DEFAULT ''
);

CREATE TABLE municipio (
  numero INTEGER PRIMARY KEY,
  nome TEXT NOT NULL,
  uf TEXT NOT NULL DEFAULT '',
  codigo_ibge INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE filial (
  numero INTEGER PRIMARY KEY,
  municipio INTEGER NOT NULL DEFAULT 0,
  razao_social TEXT NOT NULL DEFAULT '',
  nome_fantasia TEXT NOT NULL DEFAULT '',
  cnpj TEXT NOT NULL DEFAULT '',
  cpf TEXT NOT NULL DEFAULT '',
  inscricao_estadual TEXT NOT NULL DEFAULT '',
  inscricao_municipal TEXT NOT NULL DEFAULT '',
  uf TEXT NOT NULL DEFAULT '',
  cep TEXT NOT NULL DEFAULT '',
  endereco TEXT NOT NULL DEFAULT '',
  numero_endereco TEXT NOT NULL DEFAULT '',
  complemento TEXT NOT NULL DEFAULT '',
  bairro TEXT NOT NULL DEFAULT '',
  ddd TEXT NOT NULL DEFAULT '',
  telefone TEXT NOT NULL DEFAULT '',
  fax TEXT NOT NULL DEFAULT '',
  email TEXT NOT NULL DEFAULT '',
  industrial INTEGER NOT NULL DEFAULT 0,
  programa_credito INTEGER NOT NULL DEFAULT 0,
  habilitada_ecf INTEGER NOT NULL DEFAULT 1,
  suframa TEXT NOT NULL DEFAULT '',
  contador_nome TEXT NOT NULL DEFAULT '',
  contador_cpf TEXT NOT NULL DEFAULT '',
  contador_crc TEXT NOT NULL DEFAULT '',
  contador_cnpj TEXT NOT NULL DEFAULT '',
  contador_cep TEXT NOT NULL DEFAULT '',
  contador_endereco TEXT NOT NULL DEFAULT '',
  contador_numero TEXT NOT NULL DEFAULT '',
  contador_complemento TEXT NOT NULL DEFAULT '',
  contador_bairro TEXT NOT NULL DEFAULT '',
  contador_ddd TEXT NOT NULL DEFAULT '',
  contador_telefone TEXT NOT NULL DEFAULT '',
  contador_fax TEXT NOT NULL DEFAULT '',
  contador_email TEXT NOT NULL DEFAULT '',
  contador_municipio INTEGER NOT NULL DEFAULT 0
);

-- State registrations of a branch as tax substitute in other states.
CREATE TABLE filial_ie_substituto (
  filial INTEGER NOT NULL REFERENCES filial (numero) ON DELETE CASCADE,
  sequencia INTEGER NOT NULL,
  estado INTEGER NOT NULL,
  inscricao TEXT NOT NULL,
  PRIMARY KEY (filial, sequencia)
);

CREATE TABLE emissora (
  numero INTEGER PRIMARY KEY,
  filial INTEGER NOT NULL,
  nome TEXT NOT NULL DEFAULT '',
  numero_serie TEXT NOT NULL DEFAULT '',
  marca TEXT NOT NULL DEFAULT '',
  modelo TEXT NOT NULL DEFAULT '',
  tipo TEXT NOT NULL DEFAULT 'ECF-IF',
  codigo_modelo INTEGER NOT NULL DEFAULT 0,
  habilitada INTEGER NOT NULL DEFAULT 1,
  autonomo INTEGER NOT NULL DEFAULT 0,
  tabela_aliquotas INTEGER NOT NULL DEFAULT 0,
  cfop_estoque TEXT NOT NULL DEFAULT '',
  tipo_documento_estoque INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX emissora_por_filial ON emissora (filial, numero);

-- Rate tables of the ECFs, shared by key.
CREATE TABLE emissora_aliquota (
  tabela INTEGER NOT NULL,
  posicao INTEGER NOT NULL,
  tipo TEXT NOT NULL,
  aliquota INTEGER NOT NULL,
  PRIMARY KEY (tabela, posicao)
);

-- The point-of-sale master data: one row for the company, one per branch.
CREATE TABLE mestre_ec (
  id INTEGER PRIMARY KEY,
  data_inicio_sistema INTEGER NOT NULL DEFAULT 0,
  natureza_venda INTEGER NOT NULL DEFAULT 0,
  natureza_venda_st INTEGER NOT NULL DEFAULT 0,
  natureza_servico INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE mestre_ec_filial (
  filial INTEGER PRIMARY KEY,
  uf TEXT NOT NULL DEFAULT '',
  sem_pre_venda INTEGER NOT NULL DEFAULT 0,
  sem_dav INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE usuario (
  codigo INTEGER PRIMARY KEY,
  nome TEXT NOT NULL DEFAULT ''
);

-- A row per branch the user may work in (branch numbers 0 to 999).
CREATE TABLE usuario_filial (
  usuario INTEGER NOT NULL REFERENCES usuario (codigo) ON DELETE CASCADE,
  filial INTEGER NOT NULL CHECK (filial >= 0 AND filial < 1000),
  PRIMARY KEY (usuario, filial)
);

-- Initialisation data per system: one character "0".."9" per position.
CREATE TABLE dados_inicializacao (
  sistema INTEGER PRIMARY KEY,
  tipos_sistemas TEXT NOT NULL DEFAULT ''
);
