#include "ReleComAtraso.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace qmx::bench {

namespace {

using Relogio = std::chrono::steady_clock;

void SemAtrasoDeNagle(int socket) {
  const int um = 1;
  ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
}

// One direction of one connection: a reader that stamps what arrives with
// the moment it may go on, and a writer that sends it then, in order.
class Sentido {
 public:
  Sentido(int de, int para, std::chrono::microseconds atraso) : m_de(de), m_para(para), m_atraso(atraso) {}

  void Le() {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
      const ssize_t lidos = ::recv(m_de, buffer.data(), buffer.size(), 0);
      if (lidos <= 0) break;
      std::lock_guard<std::mutex> trava(m_mutex);
      m_fila.push_back(Pedaco{Relogio::now() + m_atraso, std::string(buffer.data(), static_cast<std::size_t>(lidos))});
      m_aviso.notify_one();
    }
    std::lock_guard<std::mutex> trava(m_mutex);
    m_fim = true;
    m_aviso.notify_one();
  }

  void Escreve() {
    for (;;) {
      Pedaco pedaco;
      {
        std::unique_lock<std::mutex> trava(m_mutex);
        m_aviso.wait(trava, [&] { return !m_fila.empty() || m_fim; });
        if (m_fila.empty()) break;
        pedaco = std::move(m_fila.front());
        m_fila.pop_front();
      }
      std::this_thread::sleep_until(pedaco.quando);
      std::size_t enviados = 0;
      while (enviados < pedaco.dados.size()) {
        const ssize_t n = ::send(m_para, pedaco.dados.data() + enviados, pedaco.dados.size() - enviados, MSG_NOSIGNAL);
        if (n <= 0) {
          ::shutdown(m_de, SHUT_RD);
          ::shutdown(m_para, SHUT_WR);
          return;
        }
        enviados += static_cast<std::size_t>(n);
      }
    }
    // The other side ended: so does this one's writing half.
    ::shutdown(m_para, SHUT_WR);
  }

 private:
  struct Pedaco {
    Relogio::time_point quando;
    std::string dados;
  };
  int m_de, m_para;
  std::chrono::microseconds m_atraso;
  std::mutex m_mutex;
  std::condition_variable m_aviso;
  std::deque<Pedaco> m_fila;
  bool m_fim = false;
};

struct Conexao {
  int cliente = -1, servidor = -1;
  std::unique_ptr<Sentido> ida, volta;
  std::vector<std::thread> linhas;

  ~Conexao() {
    for (auto& linha : linhas) linha.join();
    ::close(cliente);
    ::close(servidor);
  }
};

int ConectaAoServidor(const std::string& servidor, int porta) {
  addrinfo dicas{};
  dicas.ai_family = AF_UNSPEC;
  dicas.ai_socktype = SOCK_STREAM;
  addrinfo* enderecos = nullptr;
  if (::getaddrinfo(servidor.c_str(), std::to_string(porta).c_str(), &dicas, &enderecos) != 0) return -1;
  int conectado = -1;
  for (addrinfo* a = enderecos; a && conectado < 0; a = a->ai_next) {
    const int s = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s < 0) continue;
    if (::connect(s, a->ai_addr, a->ai_addrlen) == 0)
      conectado = s;
    else
      ::close(s);
  }
  ::freeaddrinfo(enderecos);
  return conectado;
}

}  // namespace

struct CReleComAtraso::Estado {
  std::string servidor;
  int portaServidor = 0;
  std::chrono::microseconds atraso{};
  int escuta = -1;
  int porta = 0;
  std::atomic<bool> parar{false};
  std::mutex mutex;
  std::list<std::unique_ptr<Conexao>> conexoes;
  std::thread aceitador;

  void Aceita() {
    while (!parar) {
      pollfd espera{escuta, POLLIN, 0};
      if (::poll(&espera, 1, 100) <= 0) continue;
      const int cliente = ::accept(escuta, nullptr, nullptr);
      if (cliente < 0) continue;
      const int alvo = ConectaAoServidor(servidor, portaServidor);
      if (alvo < 0) {
        ::close(cliente);
        continue;
      }
      SemAtrasoDeNagle(cliente);
      SemAtrasoDeNagle(alvo);
      auto conexao = std::make_unique<Conexao>();
      conexao->cliente = cliente;
      conexao->servidor = alvo;
      conexao->ida = std::make_unique<Sentido>(cliente, alvo, atraso);
      conexao->volta = std::make_unique<Sentido>(alvo, cliente, atraso);
      Sentido* ida = conexao->ida.get();
      Sentido* volta = conexao->volta.get();
      conexao->linhas.emplace_back([ida] { ida->Le(); });
      conexao->linhas.emplace_back([ida] { ida->Escreve(); });
      conexao->linhas.emplace_back([volta] { volta->Le(); });
      conexao->linhas.emplace_back([volta] { volta->Escreve(); });
      std::lock_guard<std::mutex> trava(mutex);
      conexoes.push_back(std::move(conexao));
    }
  }
};

CReleComAtraso::CReleComAtraso(const std::string& servidor, int porta, std::chrono::microseconds atrasoCadaSentido)
    : m_estado(std::make_unique<Estado>()) {
  m_estado->servidor = servidor;
  m_estado->portaServidor = porta;
  m_estado->atraso = atrasoCadaSentido;
  m_estado->escuta = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  endereco.sin_port = 0;
  socklen_t tamanho = sizeof endereco;
  if (m_estado->escuta < 0 || ::bind(m_estado->escuta, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 ||
      ::listen(m_estado->escuta, 64) != 0 ||
      ::getsockname(m_estado->escuta, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
    if (m_estado->escuta >= 0) ::close(m_estado->escuta);
    throw std::runtime_error("relé: não foi possível escutar em 127.0.0.1");
  }
  m_estado->porta = ntohs(endereco.sin_port);
  Estado* estado = m_estado.get();
  m_estado->aceitador = std::thread([estado] { estado->Aceita(); });
}

CReleComAtraso::~CReleComAtraso() {
  m_estado->parar = true;
  m_estado->aceitador.join();
  ::close(m_estado->escuta);
  // Readers blocked on either side wake with the end of their socket.
  for (auto& conexao : m_estado->conexoes) {
    ::shutdown(conexao->cliente, SHUT_RDWR);
    ::shutdown(conexao->servidor, SHUT_RDWR);
  }
  m_estado->conexoes.clear();
}

int CReleComAtraso::Porta() const { return m_estado->porta; }

std::string ConexaoPeloRele(const std::string& conexao, int porta, std::string* servidor, int* portaServidor) {
  std::istringstream partes(conexao);
  std::string saida, parte;
  std::string host;
  int portaOriginal = 5432;
  while (partes >> parte) {
    if (parte.rfind("host=", 0) == 0) {
      host = parte.substr(5);
      continue;
    }
    if (parte.rfind("port=", 0) == 0) {
      portaOriginal = std::stoi(parte.substr(5));
      continue;
    }
    saida += (saida.empty() ? "" : " ") + parte;
  }
  if (host.empty() || host[0] == '/') return {};
  *servidor = host;
  *portaServidor = portaOriginal;
  return "host=127.0.0.1 port=" + std::to_string(porta) + (saida.empty() ? "" : " " + saida);
}

}  // namespace qmx::bench
