#include "cli/Comandos.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <vector>
#include <ostream>
#include <sstream>

#include "cli/Apresentacao.h"
#include "cli/Autorizacao.h"
#include "cli/ConferenciaIntegracao.h"
#include "cli/Demo.h"
#include "cli/VerificacaoEAD.h"
#include "cli/Mensagem.h"
#include "cli/TabelaDialogo.h"
#include "cli/Limpar.h"
#include "cli/Validar.h"
#include "frame/QMXUTIL.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::cli {
namespace {

using FuncaoSemArgumentos = QMX_BOOL();

std::string SimNao(bool valor) { return valor ? "verdadeiro" : "falso"; }

// A dialog export without arguments: the operator's answers come from the
// script that main() builds from the dialog options.
Comando Dialogo(const std::string& nome, const std::string& exportacao, const std::string& ajuda,
                CamposDialogo campos = {}) {
  return {nome, exportacao, ajuda, "", {}, [exportacao](Ambiente& a) {
            const bool resultado = a.biblioteca.Funcao<FuncaoSemArgumentos>(exportacao.c_str())();
            a.saida << exportacao << ": " << SimNao(resultado) << "\n";
            return resultado;
          }, true, campos};
}

// A date option as the data layer holds it, and as the exports take it
// (the 16-bit day number of the point-of-sale program).
NumeroDia DiaOpcional(const Opcoes& opcoes, const std::string& nome) {
  const auto texto = opcoes.Texto(nome);
  return texto ? LeData(*texto) : 0;
}

std::uint16_t DataOpcional(const Opcoes& opcoes, const std::string& nome) {
  return DiaDezesseisBits(DiaOpcional(opcoes, nome));
}

std::uint16_t U16(const Opcoes& opcoes, const std::string& nome) {
  return static_cast<std::uint16_t>(opcoes.Numero(nome, 0, 65535, 0));
}

// The cupom of --data, --ecf and --cupom, all three required.
REG_EC_CX_CHAVEPS CupomPedido(const Ambiente& a) {
  for (const char* nome : {"data", "ecf", "cupom"})
    if (!a.opcoes.Tem(nome)) throw ErroUso(std::string("falta --") + nome + " (o cupom é dado por --data, --ecf e --cupom)");
  REG_EC_CX_CHAVEPS chave{};
  chave.Cupom = static_cast<std::uint32_t>(a.opcoes.Numero("cupom", 1, 4294967295LL, 0));
  chave.Data = DiaOpcional(a.opcoes, "data");
  chave.Emissora = static_cast<std::uint16_t>(a.opcoes.Numero("ecf", 1, 65535, 0));
  return chave;
}

// Whether the company's cash data has the cupom (read into `lidos` when
// asked); a line says so when it has not.
bool CupomExiste(Ambiente& a, const REG_EC_CX_CHAVEPS& chave, std::vector<dados::CupomCompleto>* lidos = nullptr) {
  dados::CConexaoECSCX cupons;
  std::vector<std::uint32_t> achados;
  std::vector<dados::CupomCompleto> proprios;
  auto& destino = lidos ? *lidos : proprios;
  if (com::SUCCEEDED(cupons.Inicializa(a.empresa, 1, 0)) && com::SUCCEEDED(cupons.Busca(chave, &achados)) &&
      !achados.empty() && (!lidos || (com::SUCCEEDED(cupons.Le({achados.front()}, &destino)) && !destino.empty())))
    return true;
  a.saida << "cupom " << chave.Cupom << " do ECF " << chave.Emissora << " em " << TextoData(chave.Data, true)
          << " não encontrado\n";
  return false;
}

// The integration log named by --diretorio (without it the passes show
// their lines as boxes).
void DefineLog(Ambiente& a) {
  if (const auto diretorio = a.opcoes.Texto("diretorio"))
    a.biblioteca.Funcao<QMX_BOOL(const char*)>("QMX_SetDiretorio")(DoTerminal(*diretorio).c_str());
}

// An integration's answer with what it means.
std::string ResultadoIntegracao(std::int32_t resultado) {
  if (resultado == 0) return "0 (integrado)";
  if (resultado == 1) return "1 (ficaram pendências)";
  if (resultado == static_cast<std::int32_t>(0x80004005u)) return "0x80004005 (interrompida)";
  return DescreveResultado(static_cast<std::uint32_t>(resultado));
}

// qmx integra periodo: every ECF (or the one of --ecf), every day of the
// period with cupons, in order of day and ECF: the four passes (stock
// first, as the front end runs it after each sale), then the day's
// reconciliation, whose lines show only when it does not agree. True when
// every day agrees.
bool IntegraPeriodo(Ambiente& a) {
  const NumeroDia inicio = DiaOpcional(a.opcoes, "data-inicial"), fim = DiaOpcional(a.opcoes, "data-final");
  if (fim < inicio) throw ErroUso("--data-final antes de --data-inicial");
  std::vector<std::uint16_t> ecfs;
  dados::CConexaoEmissora emissoras;
  dados::CConexaoECSCX cupons;
  std::uint16_t quantas = 0;
  std::vector<REG_EMISSORPS> lista;
  if (com::FAILED(emissoras.Inicializa(a.empresa, 1, 0)) || com::FAILED(emissoras.Lista(&quantas, &lista)) ||
      com::FAILED(cupons.Inicializa(a.empresa, 1, 0))) {
    a.saida << "não foi possível ler os ECFs da empresa " << a.empresa << "\n";
    return false;
  }
  for (const auto& e : lista)
    if (!a.opcoes.Tem("ecf") || e.Numero == U16(a.opcoes, "ecf")) ecfs.push_back(e.Numero);
  const std::pair<const char*, const char*> passos[] = {{"QMX_ProcIntegraES", "estoque"},
                                                        {"QMX_ProcIntegraCN", "contábil"},
                                                        {"QMX_ProcIntegraEF", "fiscal"},
                                                        {"QMX_ProcIntegraFN", "financeiro"}};
  bool tudoConfere = true;
  int dias = 0;
  for (NumeroDia dia = inicio; dia <= fim; ++dia)
    for (const std::uint16_t ecf : ecfs) {
      std::vector<std::uint32_t> achados;
      REG_EC_CX_CHAVEPS chave{};
      chave.Data = dia;
      chave.Emissora = ecf;
      if (com::FAILED(cupons.Busca(chave, &achados)) || achados.empty()) continue;
      ++dias;
      REG_QMX_PARAMETROS_INTEGRACAO parametros{};
      parametros.nData = DiaDezesseisBits(dia);
      parametros.nEcf = ecf;
      a.saida << TextoData(dia, true) << " ECF " << ecf << ":";
      for (const auto& [exportacao, nome] : passos) {
        const std::int32_t r = a.biblioteca.Funcao<std::int32_t(REG_QMX_PARAMETROS_INTEGRACAO)>(exportacao)(parametros);
        a.saida << " " << nome << " " << (r == 0 ? "ok" : ResultadoIntegracao(r));
      }
      std::ostringstream detalhe;
      const bool confere = MostraConferencia(detalhe, a.empresa, dia, ecf, "    ");
      a.saida << (confere ? "; confere\n" : "; NÃO CONFERE\n");
      if (!confere) a.saida << detalhe.str();
      tudoConfere &= confere;
    }
  a.saida << dias << " dia(s) de ECF integrado(s); " << (tudoConfere ? "todos conferem" : "há diferenças") << "\n";
  return tudoConfere;
}

// A path typed on the terminal, as the library takes it.
std::string Caminho(const std::string& doTerminal) { return qmx::texto::CaminhoDaBiblioteca(doTerminal); }

// Hexadecimal text of the cipher: pairs of hexadecimal digits.
std::string Hexadecimal(const Opcoes& opcoes, const std::string& nome) {
  const std::string texto = opcoes.Texto(nome).value_or("");
  if (texto.size() % 2 != 0 || texto.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    throw ErroUso("--" + nome + ": \"" + texto + "\" não é hexadecimal em pares de dígitos");
  return texto;
}

// An amount as the cipher takes it: with its two decimals after a comma,
// thousands optionally separated by dots ("1.234,56", "-25,00"). The
// library keeps only the digits, so "1.5" would silently be 15 centavos.
std::string ValorComCentavos(const std::string& texto) {
  std::size_t i = texto.rfind('-', 0) == 0 ? 1 : 0;
  const auto virgula = texto.find(',');
  bool valido = virgula != std::string::npos && virgula > i && texto.size() - virgula == 3 &&
                std::isdigit(static_cast<unsigned char>(texto[virgula + 1])) &&
                std::isdigit(static_cast<unsigned char>(texto[virgula + 2]));
  // The integer part: digits, or groups of three separated by dots.
  const std::string inteiro = valido ? texto.substr(i, virgula - i) : "";
  const bool agrupado = inteiro.find('.') != std::string::npos;
  for (std::size_t k = 0; valido && k < inteiro.size(); ++k) {
    const bool ponto = agrupado && (inteiro.size() - k) % 4 == 0;
    valido = ponto ? inteiro[k] == '.' && k > 0 : std::isdigit(static_cast<unsigned char>(inteiro[k])) != 0;
  }
  if (!valido) throw ErroUso("--valor: \"" + texto + "\" não é um valor com duas casas decimais (como 1.234,56)");
  return texto;
}

std::vector<Comando> MontaComandos() {
  using E = CamposDialogo::Edicao;
  std::vector<Comando> c;
  c.push_back(Dialogo("sintegra", "QMX_Sintegra", "arquivo Sintegra",
                      {14028, 13039, 13040, 13041, 13042, {{"convenio", 13043}, {"natureza", 13044}, {"finalidade", 13045}}}));
  c.push_back(Dialogo("venda-periodo", "QMX_VendaPeriodo", "arquivo Venda do Período",
                      {14030, 13055, 0, 13053, 13054, {}, {}, {},
                       {{"leiaute", {{"convenio", 13065}, {"cotepe", 13066}},
                         "o leiaute: convenio (Sintegra, Convênio 57/95) ou cotepe (Ato COTEPE/ICMS 09/08)"},
                        {"perfil", {{"A", 13091}, {"B", 13092}}, "o perfil do leiaute cotepe: A ou B"}}}));
  c.push_back(Dialogo("espelho-mfd", "QMX_EspelhoMFD", "Espelho MFD",
                      {14007, 0, 0, 13004, 13005, {}, {{"coo-inicial", 13006, 13003, "COO"}, {"coo-final", 13007, 13003, "COO"}}, {},
                       {}, {{"total", 13001}}, 13002}));
  c.push_back(Dialogo("arq-mfd", "QMX_ArqMFD", "Arquivo MFD",
                      {14025, 0, 0, 13026, 13023, {}, {{"coo-inicial", 13024, 13022, "COO"}, {"coo-final", 13025, 13022, "COO"}}, {},
                       {}, {}, 13021}));
  c.push_back(Dialogo("meios-pagamento", "QMX_MeiosPagamento", "relatório Meios de Pagamento", {14008, 0, 0, 13009, 13008}));
  c.push_back(Dialogo("davs", "QMX_DAVs", "DAVs emitidos, impressos ou em arquivo",
                      {14009, 14011, 14010, 14014, 14015, {}, {}, {}, {}, {{"relatorio", 13010}, {"arquivo", 13011}}}));
  c.push_back(Dialogo("tab-produtos", "QMX_TabProdutos", "Tabela de Produtos",
                      {14002, 14000, 0, 0, 0, {}, {E{"tabela-produtos", 14001, 0, "N"}, E{"tabela-servicos", 14003, 0, "N"}}}));
  c.push_back(Dialogo("estoque", "QMX_Estoque", "arquivo de Estoque (--produto repetido: estoque parcial)",
                      {14023, 13013, 0, 0, 0, {}, {}, {{"produto", 13070, 13073}}}));
  c.push_back(Dialogo("indice-tecnico", "QMX_TabIndiceTecnicoProducao", "Índices Técnicos de Produção"));
  c.push_back({"identificacao", "QMX_IdentificacaoPAFECF", "relatório de identificação do PAF-ECF", "", {},
               [](Ambiente& a) {
                 const bool r = a.biblioteca.Funcao<FuncaoSemArgumentos>("QMX_IdentificacaoPAFECF")();
                 a.saida << "QMX_IdentificacaoPAFECF: " << SimNao(r) << "\n";
                 return r;
               }, true});
  c.push_back({"lmf", "QMX_LMF", "Leitura da Memória Fiscal", "",
               {{"tipo", "c|s", "leitura completa (c, a de sempre) ou simplificada (s)"}},
               [](Ambiente& a) {
                 const std::string tipo = a.opcoes.Texto("tipo").value_or("c");
                 if (tipo != "c" && tipo != "s") throw ErroUso("--tipo aceita c ou s");
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*)>("QMX_LMF")(tipo.c_str());
                 a.saida << "QMX_LMF: " << SimNao(r) << "\n";
                 return r;
               }, true,
               {14024, 0, 0, 13017, 13018, {},
                {{"reducao-inicial", 13019, 13015, "N"}, {"reducao-final", 13020, 13015, "N"},
                 {"cotepe-inicial", 13060, 13059, "DD/MM/AAAA"}, {"cotepe-final", 13061, 13059, "DD/MM/AAAA"}},
                {}, {}, {{"arquivo", 13016}}, 13014}});
  c.push_back({"sped-fiscal", "QMX_SpedFiscal", "extrato SPED Fiscal", "",
               {{"filial", "N", "a filial"}, {"ecf", "N", "o ECF (0: todos)"},
                {"data-inicial", "DD/MM/AAAA", "início do período"}, {"data-final", "DD/MM/AAAA", "fim do período"}},
               [](Ambiente& a) {
                 char* caminho = nullptr;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(char**, std::uint16_t, std::uint16_t, std::uint16_t,
                                                             std::uint16_t)>("QMX_SpedFiscal")(
                     &caminho, U16(a.opcoes, "filial"), U16(a.opcoes, "ecf"), DataOpcional(a.opcoes, "data-inicial"),
                     DataOpcional(a.opcoes, "data-final"));
                 a.saida << "QMX_SpedFiscal: " << SimNao(r) << "\n";
                 if (caminho) a.saida << "arquivo: " << caminho << "\n";
                 delete[] caminho;
                 return r;
               }, true});
  c.push_back({"movimentos", "QMX_Movimentos", "Movimentos por ECF", "",
               {{"data-inicial", "DD/MM/AAAA", "início do período"}, {"data-final", "DD/MM/AAAA", "fim do período"},
                {"ecf", "N", "o ECF"}, {"filial", "N", "a filial"},
                {"automatico", "", "sem diálogo: gera com as opções dadas (sem ela, as opções preenchem o diálogo)"}},
               [](Ambiente& a) {
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t, std::uint16_t, std::uint16_t,
                                                             std::uint16_t, std::uint8_t)>("QMX_Movimentos")(
                     DataOpcional(a.opcoes, "data-inicial"), DataOpcional(a.opcoes, "data-final"),
                     U16(a.opcoes, "ecf"), U16(a.opcoes, "filial"), a.opcoes.Tem("automatico") ? 1 : 0);
                 a.saida << "QMX_Movimentos: " << SimNao(r) << "\n";
                 return r;
               }, true, {14017, 14016, 14018, 14019, 14020}});
  c.push_back({"historico", "QMX_BuscaHistorico", "histórico de um cupom", "",
               {{"data", "DD/MM/AAAA", "o dia do cupom"}, {"ecf", "N", "o ECF"}, {"cupom", "N", "o COO do cupom"}},
               [](Ambiente& a) {
                 const auto chave = CupomPedido(a);
                 if (!CupomExiste(a, chave)) return false;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t, std::uint16_t, std::uint32_t)>(
                     "QMX_BuscaHistorico")(DiaDezesseisBits(chave.Data), chave.Emissora, chave.Cupom);
                 a.saida << "QMX_BuscaHistorico: " << SimNao(r) << "\n";
                 if (const char* registro = std::getenv("QMX_ROTEIRO_REGISTRO"))
                   MostraDialogoRegistrado(registro, 14026,
                                           {{13034, "Data:"}, {13030, "Nº Cupom:"}, {13028, "ECF:"},
                                            {13027, "Nome Fantasia:"}, {13029, "Valor Total:"}, {13031, "Origem:"}},
                                           {{13032, "Itens do Cupom Fiscal"}, {13033, "Parcelas"}}, a.saida);
                 return r;
               }, true});
  c.push_back({"autoriza", "CQMXAutorizacao", "autorização de um usuário", "", {},
               [](Ambiente& a) { return ExecutaAutorizacao(a); }, true,
               {14032, 0, 0, 0, 0, {}, {E{"login", 14033, 0, "NOME"}, E{"senha", 14034, 0, "SENHA"}}}, true, true});
  c.push_back({"get-emissora", "QMX_GetEmissora", "seleção de filial e ECF", "",
               {{"filial", "N", "a filial do diálogo"}, {"titulo", "TEXTO", "o título do diálogo"}},
               [](Ambiente& a) {
                 const std::string titulo = DoTerminal(a.opcoes.Texto("titulo").value_or(""));
                 a.biblioteca.Funcao<QMX_BOOL(std::int32_t, std::uint8_t, const char*)>("QMX_SetFilial")(
                     static_cast<std::int32_t>(a.opcoes.Numero("filial", 0, 65535, 0)), 0,
                     a.opcoes.Tem("titulo") ? titulo.c_str() : nullptr);
                 std::uint16_t ecf = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t*)>("QMX_GetEmissora")(&ecf);
                 a.saida << "QMX_GetEmissora: " << SimNao(r) << "\necf: " << ecf << "\n";
                 return r;
               }, true});
  c.push_back({"pega-ecf-ativo", "QMX_PegaECFAtivo", "posição do ECF ligado a este computador", "", {},
               [](Ambiente& a) {
                 std::int32_t posicao = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::int32_t*)>("QMX_PegaECFAtivo")(&posicao);
                 a.saida << "posição: " << posicao << "\n";
                 return r;
               }});
  c.push_back({"descricao-coo", "QMX_DescricaoUltimoCOO", "descrição de uma operação registrada", "CODIGO", {},
               [](Ambiente& a) {
                 const auto codigo = static_cast<std::uint8_t>(
                     LeNumero(a.opcoes.Posicional(0, "o código"), 0, 255, "código"));
                 const char* texto = nullptr;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint8_t, const char**)>(
                     "QMX_DescricaoUltimoCOO")(codigo, &texto);
                 a.saida << (texto ? texto : "") << "\n";
                 return r;
               }, false, {}, false});
  c.push_back({"md5-arquivo", "QMX_GerarMD5_Arquivo", "MD5 de um arquivo", "ARQUIVO", {}, [](Ambiente& a) {
                 const std::string caminho = Caminho(a.opcoes.Posicional(0, "o arquivo"));
                 char digest[33] = {};
                 const bool r =
                     a.biblioteca.Funcao<QMX_BOOL(const char*, char*)>("QMX_GerarMD5_Arquivo")(caminho.c_str(), digest);
                 if (!*digest) {
                   a.saida << "não foi possível ler " << caminho << "\n";
                   return false;
                 }
                 a.saida << digest << "\n";
                 return r;
               }, false, {}, false});
  c.push_back({"md5-texto", "QMX_GerarMD5_String", "MD5 com sal de um texto", "TEXTO", {}, [](Ambiente& a) {
                 const std::string texto = DoTerminal(a.opcoes.Posicional(0, "o texto"));
                 char digest[33] = {};
                 a.biblioteca.Funcao<QMX_BOOL(const char*, char*)>("QMX_GerarMD5_String")(texto.c_str(), digest);
                 a.saida << (*digest ? digest : "(sem resumo)") << "\n";
                 return *digest != 0;
               }, false, {}, false});
  c.push_back({"md5-texto-bruto", "QMX_GerarMD5_StringMD5", "os 16 bytes do MD5 com sal de um texto", "TEXTO", {},
               [](Ambiente& a) {
                 const std::string texto = DoTerminal(a.opcoes.Posicional(0, "o texto"));
                 unsigned char digest[16] = {};
                 const unsigned char vazio[16] = {};
                 a.biblioteca.Funcao<QMX_BOOL(const char*, unsigned char*)>("QMX_GerarMD5_StringMD5")(texto.c_str(),
                                                                                                        digest);
                 if (std::memcmp(digest, vazio, 16) == 0) {
                   a.saida << "(sem resumo)\n";
                   return false;
                 }
                 static constexpr char kHex[] = "0123456789abcdef";
                 for (unsigned char b : digest) a.saida << kHex[b >> 4] << kHex[b & 15];
                 a.saida << "\n";
                 return true;
               }, false, {}, false});
  c.push_back({"md5-pafecf", "QMX_GerarMD5_PAFECF", "lista de arquivos autenticados", "",
               {{"mensagem", "", "mostra o resumo ao operador"}}, [](Ambiente& a) {
                 char digest[33] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(char*, std::uint8_t)>("QMX_GerarMD5_PAFECF")(
                     digest, a.opcoes.Tem("mensagem") ? 1 : 0);
                 a.saida << "QMX_GerarMD5_PAFECF: " << SimNao(r) << " " << digest << "\n";
                 return r;
               }});
  c.push_back({"md5-nota-fiscal", "QMX_GerarMD5_NotaFiscal", "lista de arquivos autenticados da nota fiscal", "",
               {{"filial", "N", "a filial"}}, [](Ambiente& a) {
                 char digest[33] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(char*, std::uint16_t)>("QMX_GerarMD5_NotaFiscal")(
                     digest, U16(a.opcoes, "filial"));
                 a.saida << "QMX_GerarMD5_NotaFiscal: " << SimNao(r) << " " << digest << "\n";
                 return r;
               }});
  c.push_back({"assinar", "QMX_AssinarArquivo", "assina um arquivo com a linha EAD", "ARQUIVO", {}, [](Ambiente& a) {
                 const std::string caminho = Caminho(a.opcoes.Posicional(0, "o arquivo"));
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*)>("QMX_AssinarArquivo")(caminho.c_str());
                 a.saida << "QMX_AssinarArquivo: " << SimNao(r) << "\n";
                 return r;
               }, false, {}, false});
  c.push_back({"monta-senha", "QMX_MontaSenha", "empacota a chave", "SEMENTE DESLOCAMENTO", {}, [](Ambiente& a) {
                 const auto semente = LeNumero(a.opcoes.Posicional(0, "a semente"), 0, 65535, "semente");
                 const auto deslocamento = LeNumero(a.opcoes.Posicional(1, "o deslocamento"), 0, 65535, "deslocamento");
                 char senha[32] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t, std::uint16_t, char*)>("QMX_MontaSenha")(
                     static_cast<std::uint16_t>(semente), static_cast<std::uint16_t>(deslocamento), senha);
                 a.saida << senha << "\n";
                 return r;
               }, false, {}, false});
  c.push_back({"desmonta-senha", "QMX_DesmontaSenha", "desempacota a chave", "SENHA", {}, [](Ambiente& a) {
                 const std::string senha = a.opcoes.Posicional(0, "a senha");
                 LeNumero(senha, 0, 9223372036854775807LL, "senha");
                 std::uint16_t semente = 0, deslocamento = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*, std::uint16_t*, std::uint16_t*)>(
                     "QMX_DesmontaSenha")(senha.c_str(), &semente, &deslocamento);
                 a.saida << "semente: " << semente << "\ndeslocamento: " << deslocamento << "\n";
                 return r;
               }, false, {}, false});
  c.push_back({"criptografar", "QMX_Criptografar", "cifra um texto e um valor", "",
               {{"semente", "N", "a semente da chave"}, {"deslocamento", "N", "o deslocamento da chave"},
                {"texto", "TEXTO", "o texto (até 99 caracteres)"},
                {"valor", "V", "o valor com duas casas decimais (1.234,56)"}},
               [](Ambiente& a) {
                 const std::string texto = DoTerminal(a.opcoes.Texto("texto").value_or(""));
                 const std::string valor = a.opcoes.Tem("valor") ? ValorComCentavos(*a.opcoes.Texto("valor")) : "";
                 if (texto.size() > 99 || valor.size() > 99) throw ErroUso("texto e valor têm no máximo 99 caracteres");
                 char hexTexto[256] = {}, hexValor[256] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::int32_t, std::int32_t, const char*, const char*,
                                                             char*, char*)>("QMX_Criptografar")(
                     static_cast<std::int32_t>(a.opcoes.Numero("semente", -2147483648LL, 2147483647LL, 0)),
                     static_cast<std::int32_t>(a.opcoes.Numero("deslocamento", -2147483648LL, 2147483647LL, 0)),
                     texto.c_str(), valor.c_str(), hexTexto, hexValor);
                 a.saida << "texto: " << hexTexto << "\nvalor: " << hexValor << "\n";
                 return r;
               }, false, {}, false});
  c.push_back({"descriptografar", "QMX_Descriptografar", "decifra um texto e um valor", "",
               {{"senha", "N", "a chave empacotada (monta-senha)"},
                {"hex-texto", "HEX", "o texto cifrado"}, {"hex-valor", "HEX", "o valor cifrado"}},
               [](Ambiente& a) {
                 const std::string senha = a.opcoes.TextoObrigatorio("senha");
                 LeNumero(senha, 0, 9223372036854775807LL, "--senha");
                 const std::string hexTexto = Hexadecimal(a.opcoes, "hex-texto");
                 const std::string hexValor = Hexadecimal(a.opcoes, "hex-valor");
                 std::string texto(hexTexto.size() / 2 + 2, '\0');
                 std::int64_t valor = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*, const char*, const char*, char*,
                                                             std::int64_t*)>("QMX_Descriptografar")(
                     senha.c_str(), hexTexto.c_str(), hexValor.c_str(), texto.data(), &valor);
                 a.saida << "texto: " << texto.c_str() << "\nvalor: " << FormataValor(valor) << " (x10000: " << valor
                         << ")\n";
                 return r;
               }, false, {}, false});
  c.push_back({"monta-data", "MontaData", "texto de um número de dia", "NUMERO",
               {{"ano2", "", "o ano com dois dígitos"}}, [](Ambiente& a) {
                 const auto dia = LeNumero(a.opcoes.Posicional(0, "o número do dia"), 0, 65535, "dia");
                 const auto funcao = a.biblioteca.Funcao<std::string(std::uint16_t, bool)>("_Z9MontaDataB5cxx11tb");
                 a.saida << funcao(static_cast<std::uint16_t>(dia), !a.opcoes.Tem("ano2")) << "\n";
                 return true;
               }, false, {}, false});
  c.push_back({"monta-hora", "MontaHora", "texto de minutos (MINUTOS) ou de um HHMMSS", "[MINUTOS]",
               {{"hhmmss", "N", "a hora como número HHMMSS"}, {"segundos", "", "com os segundos"}},
               [](Ambiente& a) {
                 if (a.opcoes.Tem("hhmmss")) {
                   const auto valor = a.opcoes.Numero("hhmmss", -2147483648LL, 2147483647LL, 0);
                   const auto funcao = a.biblioteca.Funcao<std::string(std::int32_t, bool)>("_Z9MontaHoraB5cxx11ib");
                   a.saida << funcao(static_cast<std::int32_t>(valor), a.opcoes.Tem("segundos")) << "\n";
                 } else {
                   const auto minutos = LeNumero(a.opcoes.Posicional(0, "os minutos"), 0, 65535, "minutos");
                   const auto funcao = a.biblioteca.Funcao<std::string(std::uint16_t)>("_Z9MontaHoraB5cxx11t");
                   a.saida << funcao(static_cast<std::uint16_t>(minutos)) << "\n";
                 }
                 return true;
               }, false, {}, false});
  c.push_back({"criptografar-texto", "CriptografarTexto", "XOR de um texto com um byte", "TEXTO CHAVE", {},
               [](Ambiente& a) {
                 std::string texto = DoTerminal(a.opcoes.Posicional(0, "o texto"));
                 const auto chave = LeNumero(a.opcoes.Posicional(1, "a chave"), 0, 255, "chave");
                 a.biblioteca.Funcao<void(char*, int, unsigned char)>("_Z17CriptografarTextoPcih")(
                     texto.data(), static_cast<int>(texto.size()), static_cast<unsigned char>(chave));
                 static constexpr char kHex[] = "0123456789ABCDEF";
                 for (unsigned char b : texto) a.saida << kHex[b >> 4] << kHex[b & 15];
                 a.saida << "\n";
                 return true;
               }, false, {}, false});
  c.push_back({"parametrizacao", "ECImprimeParametrizacao", "relatório de parâmetros de configuração", "",
               {{"filial", "N", "a filial"}, {"ecf", "N", "o ECF"}}, [](Ambiente& a) {
                 const bool r = a.biblioteca.Funcao<bool(std::uint16_t, std::uint16_t)>(
                     "_Z23ECImprimeParametrizacaott")(U16(a.opcoes, "filial"), U16(a.opcoes, "ecf"));
                 a.saida << "ECImprimeParametrizacao: " << SimNao(r) << "\n";
                 return r;
               }});
  c.push_back({"integra", "QMX_ProcIntegraCN|EF|ES|FN",
               "integração do dia com a retaguarda: cn contábil (QMX_ProcIntegraCN), ef livros fiscais (QMX_ProcIntegraEF), "
               "es estoque (QMX_ProcIntegraES), fn contas a receber (QMX_ProcIntegraFN); conferir mostra a sua conferência; "
               "periodo faz as quatro e a conferência de cada dia e ECF com cupons (todos os ECFs, sem --ecf)",
               "cn|ef|es|fn|conferir|periodo",
               {{"data", "DD/MM/AAAA", "o dia"}, {"ecf", "N", "o ECF"},
                {"data-inicial", "DD/MM/AAAA", "periodo: o primeiro dia"},
                {"data-final", "DD/MM/AAAA", "periodo: o último dia"},
                {"diretorio", "LOG", "o arquivo (ou a pasta) do log da integração"}},
               [](Ambiente& a) {
                 const std::string passo = a.opcoes.Posicional(0, "a integração (cn, ef, es, fn, conferir ou periodo)");
                 if (passo == "conferir")
                   return MostraConferencia(a.saida, a.empresa, DiaOpcional(a.opcoes, "data"), U16(a.opcoes, "ecf"));
                 if (passo == "periodo") {
                   if (!a.opcoes.Tem("data-inicial") || !a.opcoes.Tem("data-final"))
                     throw ErroUso("falta --data-inicial ou --data-final (o período a integrar)");
                   DefineLog(a);
                   return IntegraPeriodo(a);
                 }
                 const std::map<std::string, const char*> exportacoes = {{"cn", "QMX_ProcIntegraCN"},
                                                                         {"ef", "QMX_ProcIntegraEF"},
                                                                         {"es", "QMX_ProcIntegraES"},
                                                                         {"fn", "QMX_ProcIntegraFN"}};
                 const auto exportacao = exportacoes.find(passo);
                 if (exportacao == exportacoes.end())
                   throw ErroUso("integração desconhecida: " + passo + " (cn, ef, es, fn, conferir ou periodo)");
                 if (!a.opcoes.Tem("data")) throw ErroUso("falta --data (o dia a integrar)");
                 DefineLog(a);
                 REG_QMX_PARAMETROS_INTEGRACAO parametros{};
                 parametros.nData = DataOpcional(a.opcoes, "data");
                 parametros.nEcf = U16(a.opcoes, "ecf");
                 const std::int32_t r = a.biblioteca.Funcao<std::int32_t(REG_QMX_PARAMETROS_INTEGRACAO)>(
                     exportacao->second)(parametros);
                 a.saida << exportacao->second << ": " << ResultadoIntegracao(r) << "\n";
                 return r >= 0;
               }});
  c.push_back({"integra-cupom", "QMX_IntegraCupomES", "integração de estoque de um cupom", "",
               {{"data", "DD/MM/AAAA", "o dia do cupom"}, {"ecf", "N", "o ECF"}, {"cupom", "COO", "o COO do cupom"},
                {"diretorio", "LOG", "o arquivo (ou a pasta) do log da integração"}},
               [](Ambiente& a) {
                 DefineLog(a);
                 // The front end holds the cupom's record when it calls; here
                 // it is read from the cash data as the front end would.
                 std::vector<dados::CupomCompleto> lidos;
                 if (!CupomExiste(a, CupomPedido(a), &lidos)) return false;
                 const std::int32_t r = a.biblioteca.Funcao<std::int32_t(void*, std::int32_t, std::int32_t,
                                                                         std::int32_t)>("QMX_IntegraCupomES")(
                     &lidos.front().Cupom, 1, 0, 0);
                 a.saida << "QMX_IntegraCupomES: " << ResultadoIntegracao(r) << "\n";
                 return r >= 0;
               }});
  c.push_back({"chave-publica", "", "mostra a chave pública que confere as linhas EAD", "", {}, [](Ambiente& a) {
                 a.saida << kChavePublicaPEM;
                 return true;
               }, false, {}, false});
  c.push_back({"verificar", "", "confere a linha EAD de um arquivo", "ARQUIVO", {}, [](Ambiente& a) {
                 const std::string caminho = a.opcoes.Posicional(0, "o arquivo");
                 switch (VerificaArquivo(caminho)) {
                   case ResultadoVerificacao::Valida:
                     a.saida << "assinatura válida\n";
#if defined(QMX_CHAVE_DE_DEMONSTRACAO)
                     // Anyone can sign with it: it proves no developer's file.
                     a.saida << "(chave de demonstração: a publicada com a biblioteca, que qualquer um tem; não é a "
                                "de um desenvolvedor registrado no fisco)\n";
#endif
                     return true;
                   case ResultadoVerificacao::Invalida: a.saida << "assinatura inválida\n"; return false;
                   case ResultadoVerificacao::SemLinhaEAD: a.saida << "o arquivo não termina numa linha EAD\n"; return false;
                   case ResultadoVerificacao::Ilegivel: break;
                 }
                 a.saida << "não foi possível ler " << DoTerminal(caminho) << "\n";
                 return false;
               }, false, {}, false});
  c.push_back({"validar", "", "confere arquivos fiscais de qualquer programa com os leiautes publicados e a sua linha EAD",
               "ARQUIVO...",
               {{"json", "", "o resultado em JSON, para programas"},
                {"chave", "ARQUIVO.pem",
                 "a chave pública do desenvolvedor que assinou os arquivos do PAF-ECF (senão a desta biblioteca)"}},
               [](Ambiente& a) { return ExecutaValidar(a); }, false, {}, false});
  c.push_back({"limpar", "",
               "remove os temporários que execuções interrompidas deixaram (na pasta, ou na dos arquivos eletrônicos "
               "da empresa e na temporária do sistema)",
               "[PASTA]", {}, [](Ambiente& a) { return ExecutaLimpar(a); }, false, {}, false});
  c.push_back({"mensagem", "", "mensagem do catálogo do fabricante", "MODULO NUMERO",
               {{"pasta", "DIR", "a pasta dos catálogos (senão a do registro ou a instalada)"}},
               [](Ambiente& a) { return ExecutaMensagem(a); }, false, {}, false});
  c.push_back({"demo", "", "monta uma empresa de demonstração com um mês de movimento e mostra o que a biblioteca faz",
               "",
               {{"pasta", "DIR", "a pasta da empresa (qmx-demo)"},
                {"mes", "MM/AAAA", "o mês do movimento (o mês anterior ao do relógio da biblioteca)"},
                {"base", "CONEXAO",
                 "a base da empresa num servidor PostgreSQL (\"host=... dbname=... user=...\"), vazia de empresas; "
                 "senão um arquivo SQLite na pasta"},
                {"tamanho", "N", "N vezes o movimento de sempre"},
                {"loja-grande", "", "a filial 1 com vinte ECFs (cerca de 5 milhões de itens)"},
                {"rede", "N",
                 "uma rede de N filiais iguais, cada uma com quatro ECFs de 250 cupons por dia (com --base, num "
                 "servidor PostgreSQL)"},
                {"cupons-por-dia", "N",
                 "com --loja-grande: N cupons por dia em cada ECF da filial 1 (1000); com --rede: em cada ECF (250)"},
                {"variada", "SEMENTE", "uma empresa variada sorteada da semente: poucos dias, cadastros de toda espécie"}},
               [](Ambiente& a) { return ExecutaDemo(a); }, false, {}, false});
  return c;
}

}  // namespace

const std::vector<Comando>& Comandos() {
  static const std::vector<Comando> comandos = MontaComandos();
  return comandos;
}

std::vector<OpcaoComando> OpcoesDoDialogo(const CamposDialogo& c) {
  if (c.idModelo == 0) return {};
  // Empty help: the dialog's own label describes it (qmx COMANDO --help).
  std::vector<OpcaoComando> opcoes;
  if (c.filial) opcoes.push_back({"filial", "N", "", c.filial});
  if (c.ecf) opcoes.push_back({"ecf", "N", "", c.ecf});
  if (c.dataInicial) opcoes.push_back({"data-inicial", "DD/MM/AAAA", "", c.dataInicial});
  if (c.dataFinal) opcoes.push_back({"data-final", "DD/MM/AAAA", "", c.dataFinal});
  for (const auto& [nome, id] : c.listas) opcoes.push_back({nome, "N", "o número do item da lista", id});
  for (const auto& edicao : c.edicoes) opcoes.push_back({edicao.opcao, edicao.valor, "", edicao.controle});
  for (const auto& adicao : c.adicoes) opcoes.push_back({adicao.opcao, "N", "pode repetir", adicao.edicao});
  for (const auto& escolha : c.escolhas) {
    std::string valores;
    for (const auto& [nome, id] : escolha.valores) valores += (valores.empty() ? "" : "|") + nome;
    opcoes.push_back({escolha.nome, valores, escolha.ajuda});
  }
  for (const auto& [nome, id] : c.cliques) opcoes.push_back({nome, "", "", id});
  opcoes.push_back({"opcao", "ID", "clica o botão ID do diálogo"});
  return opcoes;
}

std::vector<OpcaoComando> OpcoesDoComando(const Comando& comando) {
  std::vector<OpcaoComando> opcoes = comando.opcoes;
  // A dialog's option that the command takes as its own (movimentos: the
  // export's arguments with --automatico) is listed once.
  for (auto& opcao : OpcoesDoDialogo(comando.campos))
    if (std::none_of(comando.opcoes.begin(), comando.opcoes.end(), [&](const auto& o) { return o.nome == opcao.nome; }))
      opcoes.push_back(std::move(opcao));
  return opcoes;
}

bool UsaEmpresa(const Comando& comando) {
  // The fiscal-memory reading, the ECF selection and the boxes of the
  // point of sale work without one, as the front end may call them.
  static const std::set<std::string> daEmpresa = {
      "sintegra",  "venda-periodo", "meios-pagamento", "davs",          "tab-produtos", "estoque",
      "espelho-mfd", "arq-mfd",     "sped-fiscal",     "movimentos",    "historico",    "autoriza",
      "parametrizacao", "integra",  "integra-cupom",   "md5-pafecf",    "md5-nota-fiscal"};
  return daEmpresa.count(comando.nome) != 0;
}

std::size_t MaximoPosicionais(const Comando& comando) {
  if (comando.argumentos.find("...") != std::string::npos) return static_cast<std::size_t>(-1);
  std::size_t palavras = 0;
  bool dentro = false;
  for (char c : comando.argumentos) {
    if (c != ' ' && !dentro) ++palavras;
    dentro = c != ' ';
  }
  return palavras;
}

const Comando* ProcuraComando(const std::string& nome) {
  for (const auto& comando : Comandos())
    if (comando.nome == nome) return &comando;
  return nullptr;
}

std::string ParaTerminal(const std::string& texto) { return qmx::texto::ParaUtf8(texto); }
std::string DoTerminal(const std::string& texto) { return qmx::texto::DeUtf8OuLatin(texto); }

}  // namespace qmx::cli
