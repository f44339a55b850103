-- The consumer notas of a branch's day (Sintegra's 61 and 61R, the
-- C300 group of the period's sales file) are a handful among its thousands of
-- cupons: an index of them alone, in the walk's order and with the status
-- the walk asks for, finds them without passing every cupom of the day.
CREATE INDEX cupom_nota_consumidor ON cupom (filial, data, emissora, sequencia, status) WHERE status = 4;
