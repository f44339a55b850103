#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/com/HResult.h"
#include "plataforma/dados/InsercaoDados.h"
#include "plataforma/dados/PoolSessoes.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/processo/Andamento.h"

namespace qmx::dados {

// What every connection class shares: Inicializa with the connection
// triple finds the company's database (EnderecoBase.h) and reaches it
// once; each operation then borrows a session from the process's pool
// for its own length (or uses the thread's open transaction on the
// database) and gives it back. So the many connection objects of an
// export share the one or two sessions it really uses at once, with the
// statements those sessions have already prepared, instead of each
// holding a session (a server connection, opened anew whenever more were
// alive than the pool keeps) for its whole life. Operations return a
// signed 32-bit result (negative on failure) and report nothing
// themselves: reporting is the caller's.
class CConexaoDados {
 public:
  CConexaoDados() = default;
  virtual ~CConexaoDados();
  CConexaoDados(const CConexaoDados&) = delete;
  CConexaoDados& operator=(const CConexaoDados&) = delete;

  // S_OK, or RPC_S_SERVER_UNAVAILABLE when the company has no database or
  // it cannot be reached. A second call starts over with the new triple.
  com::HRESULT Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  void Finaliza();

  bool Inicializada() const { return !m_endereco.empty(); }
  const TriploConexao& Triplo() const { return m_triplo; }

  // One step of a long operation (a day of a walk, a transaction's begin or
  // commit): where a test injected a failure (FalhasInjetadas.h), this is
  // where it strikes.
  static void PassoOperacao();

 protected:
  // Runs one operation on the session and turns engine failures into
  // result codes. A session that lost its database is not used again.
  // An exception thrown by the caller's own code inside a walk (a
  // callback) is not the server's failure: it leaves the operation as it
  // came.
  template <class Operacao>
  com::HRESULT Executa(Operacao&& operacao) {
    if (m_endereco.empty()) return QMX_E_NAO_INICIALIZADA;
    try {
      PassoOperacao();
      if (CSessaoDados* transacao = SessaoDaTransacao()) return operacao(*transacao);
      const CSessaoEmprestada propria(m_endereco);
      return operacao(*propria);
    } catch (const processo::CTrabalhoCancelado&) {
      throw;  // the operator's, not the server's
    } catch (...) {
      if (m_erroChamador) std::rethrow_exception(std::exchange(m_erroChamador, nullptr));
      return Falhou();
    }
  }

  // Reads the one record a statement finds; none is "record not found".
  template <class Registro, class Preenche>
  com::HRESULT LeUm(const char* sql, const std::vector<ParametroDados>& parametros, Registro* registro,
                    Preenche&& preenche) {
    if (!registro) return com::E_POINTER;
    return Executa([&](CSessaoDados& s) {
      const auto linhas = s.Consulta(sql, parametros);
      if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
      *registro = preenche(linhas.front());
      return com::S_OK;
    });
  }

  // Reads every record a statement finds, in its order.
  template <class Registro, class Preenche>
  com::HRESULT LeVarios(const char* sql, const std::vector<ParametroDados>& parametros,
                        std::vector<Registro>* registros, Preenche&& preenche) {
    if (!registros) return com::E_POINTER;
    return Executa([&](CSessaoDados& s) {
      const auto linhas = s.Consulta(sql, parametros);
      registros->clear();
      registros->reserve(linhas.size());
      for (const auto& l : linhas) registros->push_back(preenche(l));
      return com::S_OK;
    });
  }

  // Reads the rows of many keys: a statement per piece of keys, the
  // pieces sent together (one round trip on a server). sqlDaLista makes a
  // piece's statement from its list of placeholders ("?, ?, ?"); the fixed
  // parameters come before the piece's keys; each row goes to porLinha.
  template <class Chave, class MontaSql, class PorLinha>
  com::HRESULT LePorChaves(const std::vector<Chave>& chaves, const std::vector<ParametroDados>& fixos,
                           MontaSql&& sqlDaLista, PorLinha&& porLinha) {
    if (chaves.empty()) return com::S_OK;  // nothing to ask: no step, no statement
    return Executa([&](CSessaoDados& s) {
      LePorPedacos(
          s, chaves.size(),
          [&](std::size_t primeira, std::size_t quantas) {
            LeituraDados leitura{sqlDaLista(ListaDeMarcadores(quantas)), fixos};
            for (std::size_t i = primeira; i < primeira + quantas; ++i) leitura.parametros.emplace_back(chaves[i]);
            return leitura;
          },
          porLinha);
      return com::S_OK;
    });
  }

  // Calls the caller's callback of a walk; answers whether to go on.
  template <class Funcao, class... Argumentos>
  bool Chama(Funcao& funcao, Argumentos&&... argumentos) {
    try {
      return funcao(std::forward<Argumentos>(argumentos)...);
    } catch (...) {
      m_erroChamador = std::current_exception();
      throw;
    }
  }


 private:
  com::HRESULT Falhou();
  // The session of the thread's open transaction on this database
  // (TransacaoDados.h), if there is one.
  CSessaoDados* SessaoDaTransacao() const;

  TriploConexao m_triplo;
  // The company's database; empty before Inicializa, after Finaliza and
  // once its server was found lost (the connection is not used again).
  std::string m_endereco;
  std::exception_ptr m_erroChamador;
};

}  // namespace qmx::dados
