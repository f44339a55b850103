-- A branch's day is walked by ECF and sequence key (the stock file, the
-- payment report, the consumer notas): the branch's index gives its cupons
-- in that order, with the status beside them to pick out the notas, so
-- that no day's cupons are sorted again.
DROP INDEX cupom_por_filial;
CREATE INDEX cupom_por_filial ON cupom (filial, data, emissora, sequencia, status);
