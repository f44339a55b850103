-- A cupom found by its ECF and COO: the integration holds each cupom it
-- integrates by these, and the memory files look up COO ranges.
CREATE INDEX cupom_por_coo ON cupom (emissora, coo);
