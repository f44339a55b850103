#include "plataforma/mensagens/MensagemSistema.h"

#include "plataforma/com/HResult.h"

namespace qmx::mensagens {
namespace {

struct Texto {
  std::uint32_t codigo;
  const char* texto;
};

// System error codes.
constexpr Texto kErrosSistema[] = {
    {0, "A operação foi concluída com êxito."},
    {1, "Função incorreta."},
    {2, "O sistema não pode encontrar o arquivo especificado."},
    {3, "O sistema não pode encontrar o caminho especificado."},
    {4, "O sistema não pode abrir o arquivo."},
    {5, "Acesso negado."},
    {6, "O identificador é inválido."},
    {8, "Não há memória suficiente para processar este comando."},
    {14, "Não há memória suficiente para concluir esta operação."},
    {31, "Um dispositivo conectado ao sistema não está funcionando."},
    {32, "O arquivo está sendo usado por outro processo."},
    {87, "O parâmetro está incorreto."},
    {109, "O pipe foi finalizado."},
    {112, "Não há espaço suficiente no disco."},
    {193, "Não é um aplicativo válido."},
    {1168, "Elemento não encontrado."},
    {1722, "O servidor RPC não está disponível."},
};

// Result codes outside the system facility.
constexpr Texto kResultados[] = {
    {0x80004001u, "Não implementado"},
    {0x80004002u, "Interface não suportada"},
    {0x80004003u, "Ponteiro inválido"},
    {0x80004005u, "Erro não especificado"},
    {0x8000FFFFu, "Falha catastrófica"},
    {0x80040110u, "A classe não oferece suporte a agregação"},
    {0x80040111u, "A fábrica de classes não pode fornecer a classe solicitada"},
    {0x80040154u, "Classe não registrada"},
    {0x800401F3u, "Cadeia de caracteres de classe inválida"},
    {0x80080005u, "Falha na execução do servidor"},
    {0x8002000Au, "Estouro."},
    // The company database was made by a newer version of the data servers.
    {0x8004100Eu, "A base de dados da empresa é de uma versão mais nova do sistema."},
    {0x80020012u, "Divisão por zero."},
    // The company database file is empty or belongs to another program.
    {0x80041010u, "O arquivo não é uma base de dados de empresa do sistema."},
    {0x00080012u, "Nem todas as interfaces solicitadas estavam disponíveis"},
};

template <size_t N>
std::string Procura(const Texto (&tabela)[N], std::uint32_t codigo) {
  for (const auto& linha : tabela)
    if (linha.codigo == codigo) return linha.texto;
  return {};
}

}  // namespace

std::string TextoErroSistema(std::uint32_t codigo) {
  if ((codigo & 0xFFFF0000u) == 0x80070000u) return Procura(kErrosSistema, codigo & 0xFFFFu);
  if (codigo <= 0xFFFFu) return Procura(kErrosSistema, codigo);
  return Procura(kResultados, codigo);
}

}  // namespace qmx::mensagens
