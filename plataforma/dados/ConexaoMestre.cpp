#include "plataforma/dados/ConexaoMestre.h"

#include <cstring>

#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

com::HRESULT CConexaoMestre::Le(REG_EC_MESTREPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta(
        "SELECT data_inicio_sistema, natureza_venda, natureza_venda_st, natureza_servico, natureza_producao, "
        "desconto_issqn FROM mestre_ec "
        "ORDER BY id LIMIT 1",
        {});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const auto& l = linhas.front();
    REG_EC_MESTREPS r;
    std::memset(&r, 0, sizeof r);
    r.DataInicioSistema = static_cast<NumeroDia>(l.Inteiro(0));
    r.NaturezaVenda = static_cast<std::uint16_t>(l.Inteiro(1));
    r.NaturezaVendaST = static_cast<std::uint16_t>(l.Inteiro(2));
    r.NaturezaServico = static_cast<std::uint16_t>(l.Inteiro(3));
    r.NaturezaProducao = static_cast<std::uint16_t>(l.Inteiro(4));
    r.DescontoISSQN = static_cast<std::uint8_t>(l.Inteiro(5));
    *registro = r;
    return com::S_OK;
  });
}

com::HRESULT CConexaoMestre::LeFilial(std::uint16_t filial, REG_EC_MESTRE_FILIALPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas =
        s.Consulta("SELECT filial, uf, sem_pre_venda, sem_dav FROM mestre_ec_filial WHERE filial = ?", {filial});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const auto& l = linhas.front();
    REG_EC_MESTRE_FILIALPS r;
    std::memset(&r, 0, sizeof r);
    r.Filial = static_cast<std::uint16_t>(l.Inteiro(0));
    CopiaTexto(r.UF, l.Texto(1));
    r.SemPreVenda = static_cast<std::uint8_t>(l.Inteiro(2));
    r.SemDAV = static_cast<std::uint8_t>(l.Inteiro(3));
    *registro = r;
    return com::S_OK;
  });
}

com::HRESULT CConexaoMestre::LeModoEmissora(std::uint16_t emissora, bool* autonomo) {
  if (!autonomo) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT autonomo FROM emissora WHERE numero = ?", {emissora});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    *autonomo = linhas.front().Inteiro(0) != 0;
    return com::S_OK;
  });
}

com::HRESULT CConexaoMestre::LeChavesIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora,
                                               std::vector<REG_EC_CHAVES_INTEGRACAOPS>* chaves) {
  return LeVarios("SELECT modulo, data, emissora, sev, fac, cod FROM chave_integracao "
                  "WHERE modulo = ? AND data = ? AND emissora = ? ORDER BY id",
                  {modulo, data, emissora}, chaves, [](const LinhaDados& l) {
                    REG_EC_CHAVES_INTEGRACAOPS r;
                    std::memset(&r, 0, sizeof r);
                    CopiaTexto(r.Modulo, l.Texto(0));
                    r.Data = static_cast<NumeroDia>(l.Inteiro(1));
                    r.Emissora = static_cast<std::uint16_t>(l.Inteiro(2));
                    r.SEV = static_cast<std::int32_t>(l.Inteiro(3));
                    r.FAC = static_cast<std::int32_t>(l.Inteiro(4));
                    r.COD = static_cast<std::int32_t>(l.Inteiro(5));
                    return r;
                  });
}

com::HRESULT CConexaoMestre::GravaChaveIntegracao(const REG_EC_CHAVES_INTEGRACAOPS& c) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira("INSERT INTO chave_integracao (id, modulo, data, emissora, sev, fac, cod) VALUES (?, ?, ?, ?, ?, ?, ?)",
                {s.ProximoNumero("chave_integracao"), TextoParaBase(c.Modulo), c.Data, c.Emissora, c.SEV, c.FAC,
                 c.COD});
    return com::S_OK;
  });
}

com::HRESULT CConexaoMestre::ExcluiChavesIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira("DELETE FROM chave_integracao WHERE modulo = ? AND data = ? AND emissora = ?",
                {modulo, data, emissora});
    return com::S_OK;
  });
}

}  // namespace qmx::dados
