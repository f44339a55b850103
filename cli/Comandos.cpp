#include "cli/Comandos.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>
#include <ostream>

#include "cli/Autorizacao.h"
#include "cli/Demo.h"
#include "cli/VerificacaoEAD.h"
#include "cli/Mensagem.h"
#include "cli/TabelaDialogo.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::cli {
namespace {

using FuncaoSemArgumentos = QMX_BOOL();

std::string SimNao(bool valor) { return valor ? "verdadeiro" : "falso"; }

// A dialog export without arguments: the operator's answers come from the
// script that main() builds from the dialog options.
Comando Dialogo(const std::string& nome, const std::string& exportacao, const std::string& ajuda,
                CamposDialogo campos = {}) {
  std::string respostas = " (respostas: --filial, --ecf, --data-inicial, --data-final, --opcao";
  for (const auto& escolha : campos.escolhas) {
    respostas += ", --" + escolha.nome + " ";
    for (std::size_t i = 0; i < escolha.valores.size(); ++i) respostas += (i ? "|" : "") + escolha.valores[i].first;
  }
  respostas += ")";
  return {nome, exportacao, ajuda + (campos.idModelo ? respostas : ""),
          {}, [exportacao](Ambiente& a) {
            a.opcoes.SoAceita({});
            const bool resultado = a.biblioteca.Funcao<FuncaoSemArgumentos>(exportacao.c_str())();
            a.saida << exportacao << ": " << SimNao(resultado) << "\n";
            return resultado;
          }, true, campos};
}

std::uint16_t DataOpcional(const Opcoes& opcoes, const std::string& nome) {
  const auto texto = opcoes.Texto(nome);
  return texto ? LeData(*texto) : 0;
}

std::uint16_t U16(const Opcoes& opcoes, const std::string& nome) {
  return static_cast<std::uint16_t>(opcoes.Numero(nome, 0, 65535, 0));
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
  char codigo[16];
  std::snprintf(codigo, sizeof codigo, "0x%08X", static_cast<std::uint32_t>(resultado));
  return std::string(codigo) + (resultado == static_cast<std::int32_t>(0x80004005u) ? " (interrompida)" : " (falhou)");
}

std::vector<Comando> MontaComandos() {
  std::vector<Comando> c;
  c.push_back(Dialogo("sintegra", "QMX_Sintegra", "arquivo Sintegra (--convenio, --natureza, --finalidade: o número do item)",
                      {14028, 13039, 13040, 13041, 13042, {{"convenio", 13043}, {"natureza", 13044}, {"finalidade", 13045}}}));
  c.push_back(Dialogo("venda-periodo", "QMX_VendaPeriodo", "arquivo Venda do Período",
                      {14030, 13055, 0, 13053, 13054, {}, {}, {},
                       {{"leiaute", {{"convenio", 13065}, {"cotepe", 13066}}}, {"perfil", {{"A", 13091}, {"B", 13092}}}}}));
  c.push_back(Dialogo("espelho-mfd", "QMX_EspelhoMFD", "Espelho MFD", {14007, 0, 0, 13004, 13005}));
  c.push_back(Dialogo("arq-mfd", "QMX_ArqMFD", "Arquivo MFD", {14025, 0, 0, 13026, 13023}));
  c.push_back(Dialogo("meios-pagamento", "QMX_MeiosPagamento", "relatório Meios de Pagamento", {14008, 0, 0, 13009, 13008}));
  c.push_back(Dialogo("davs", "QMX_DAVs", "DAVs emitidos, impressos ou em arquivo (--opcao 13011)",
                      {14009, 14011, 14010, 14014, 14015}));
  c.push_back(Dialogo("tab-produtos", "QMX_TabProdutos",
                      "Tabela de Produtos (--tabela-produtos N, --tabela-servicos N: as tabelas de preço)",
                      {14002, 14000, 0, 0, 0, {}, {{"tabela-produtos", 14001}, {"tabela-servicos", 14003}}}));
  c.push_back(Dialogo("estoque", "QMX_Estoque", "arquivo de Estoque (--produto N, repetido: estoque parcial)",
                      {14023, 13013, 0, 0, 0, {}, {}, {{"produto", 13070, 13073}}}));
  c.push_back(Dialogo("indice-tecnico", "QMX_TabIndiceTecnicoProducao", "Índices Técnicos de Produção"));
  c.push_back({"identificacao", "QMX_IdentificacaoPAFECF", "relatório de identificação do PAF-ECF", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const bool r = a.biblioteca.Funcao<FuncaoSemArgumentos>("QMX_IdentificacaoPAFECF")();
                 a.saida << "QMX_IdentificacaoPAFECF: " << SimNao(r) << "\n";
                 // The report went to the emulated printer: say where to read it.
                 if (r) a.saida << "impressão: " << impressora::ArquivoImpressao(impressora::LeConfiguracao()) << "\n";
                 return r;
               }, true});

  c.push_back({"lmf", "QMX_LMF", "Leitura da Memória Fiscal (--tipo c|s)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"tipo"});
                 const std::string tipo = a.opcoes.Texto("tipo").value_or("c");
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*)>("QMX_LMF")(tipo.c_str());
                 a.saida << "QMX_LMF: " << SimNao(r) << "\n";
                 return r;
               }, true});
  c.push_back({"sped-fiscal", "QMX_SpedFiscal",
               "extrato SPED Fiscal (--filial N --ecf N --data-inicial DD/MM/AAAA --data-final DD/MM/AAAA)",
               {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"filial", "ecf", "data-inicial", "data-final"});
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
  c.push_back({"movimentos", "QMX_Movimentos",
               "Movimentos por ECF (--data-inicial --data-final --ecf --filial --automatico)", {"automatico"},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({"data-inicial", "data-final", "ecf", "filial", "automatico"});
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t, std::uint16_t, std::uint16_t,
                                                             std::uint16_t, std::uint8_t)>("QMX_Movimentos")(
                     DataOpcional(a.opcoes, "data-inicial"), DataOpcional(a.opcoes, "data-final"),
                     U16(a.opcoes, "ecf"), U16(a.opcoes, "filial"), a.opcoes.Tem("automatico") ? 1 : 0);
                 a.saida << "QMX_Movimentos: " << SimNao(r) << "\n";
                 return r;
               }, true});
  c.push_back({"historico", "QMX_BuscaHistorico", "histórico de um cupom (--data DD/MM/AAAA --ecf N --cupom N)", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({"data", "ecf", "cupom"});
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t, std::uint16_t, std::uint32_t)>(
                     "QMX_BuscaHistorico")(DataOpcional(a.opcoes, "data"), U16(a.opcoes, "ecf"),
                                           static_cast<std::uint32_t>(a.opcoes.Numero("cupom", 0, 4294967295LL, 0)));
                 a.saida << "QMX_BuscaHistorico: " << SimNao(r) << "\n";
                 if (const char* registro = std::getenv("QMX_ROTEIRO_REGISTRO"))
                   MostraDialogoRegistrado(registro, 14026,
                                           {{13034, "Data:"}, {13030, "Nº Cupom:"}, {13028, "ECF:"},
                                            {13027, "Nome Fantasia:"}, {13029, "Valor Total:"}, {13031, "Origem:"}},
                                           {{13032, "Itens do Cupom Fiscal"}, {13033, "Parcelas"}}, a.saida);
                 return r;
               }, true});
  c.push_back({"autoriza", "CQMXAutorizacao", "autorização de um usuário (--login NOME --senha SENHA)", {},
               [](Ambiente& a) { return ExecutaAutorizacao(a); }, true,
               {14032, 0, 0, 0, 0, {}, {{"login", 14033}, {"senha", 14034}}}});
  c.push_back({"get-emissora", "QMX_GetEmissora", "seleção de filial e ECF (--filial N --titulo TEXTO)", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({"filial", "titulo"});
                 const std::string titulo = DoTerminal(a.opcoes.Texto("titulo").value_or(""));
                 a.biblioteca.Funcao<QMX_BOOL(std::int32_t, std::uint8_t, const char*)>("QMX_SetFilial")(
                     static_cast<std::int32_t>(a.opcoes.Numero("filial", 0, 65535, 0)), 0,
                     a.opcoes.Tem("titulo") ? titulo.c_str() : nullptr);
                 std::uint16_t ecf = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t*)>("QMX_GetEmissora")(&ecf);
                 a.saida << "QMX_GetEmissora: " << SimNao(r) << "\necf: " << ecf << "\n";
                 return r;
               }, true});
  c.push_back({"pega-ecf-ativo", "QMX_PegaECFAtivo", "posição do ECF ligado a este computador", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 std::int32_t posicao = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::int32_t*)>("QMX_PegaECFAtivo")(&posicao);
                 a.saida << "posição: " << posicao << "\n";
                 return r;
               }});
  c.push_back({"descricao-coo", "QMX_DescricaoUltimoCOO", "descrição de uma operação registrada (CODIGO)", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const auto codigo = static_cast<std::uint8_t>(
                     LeNumero(a.opcoes.Posicional(0, "o código"), 0, 255, "código"));
                 const char* texto = nullptr;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint8_t, const char**)>(
                     "QMX_DescricaoUltimoCOO")(codigo, &texto);
                 a.saida << (texto ? texto : "") << "\n";
                 return r;
               }});
  c.push_back({"md5-arquivo", "QMX_GerarMD5_Arquivo", "MD5 de um arquivo (ARQUIVO)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const std::string caminho = DoTerminal(a.opcoes.Posicional(0, "o arquivo"));
                 char digest[33] = {};
                 const bool r =
                     a.biblioteca.Funcao<QMX_BOOL(const char*, char*)>("QMX_GerarMD5_Arquivo")(caminho.c_str(), digest);
                 if (!*digest) {
                   a.saida << "não foi possível ler " << a.opcoes.Posicional(0, "") << "\n";
                   return false;
                 }
                 a.saida << digest << "\n";
                 return r;
               }});
  c.push_back({"md5-texto", "QMX_GerarMD5_String", "MD5 com sal de um texto (TEXTO)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const std::string texto = DoTerminal(a.opcoes.Posicional(0, "o texto"));
                 char digest[33] = {};
                 a.biblioteca.Funcao<QMX_BOOL(const char*, char*)>("QMX_GerarMD5_String")(texto.c_str(), digest);
                 a.saida << (*digest ? digest : "(sem resumo)") << "\n";
                 return *digest != 0;
               }});
  c.push_back({"md5-texto-bruto", "QMX_GerarMD5_StringMD5", "os 16 bytes do MD5 com sal de um texto (TEXTO)", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({});
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
               }});
  c.push_back({"md5-pafecf", "QMX_GerarMD5_PAFECF", "lista de arquivos autenticados (--mensagem)", {"mensagem"},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({"mensagem"});
                 char digest[33] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(char*, std::uint8_t)>("QMX_GerarMD5_PAFECF")(
                     digest, a.opcoes.Tem("mensagem") ? 1 : 0);
                 a.saida << "QMX_GerarMD5_PAFECF: " << SimNao(r) << " " << digest << "\n";
                 return r;
               }});
  c.push_back({"md5-nota-fiscal", "QMX_GerarMD5_NotaFiscal", "lista de arquivos autenticados (--filial N)", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({"filial"});
                 char digest[33] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(char*, std::uint16_t)>("QMX_GerarMD5_NotaFiscal")(
                     digest, U16(a.opcoes, "filial"));
                 a.saida << "QMX_GerarMD5_NotaFiscal: " << SimNao(r) << " " << digest << "\n";
                 return r;
               }});
  c.push_back({"assinar", "QMX_AssinarArquivo", "assina um arquivo com a linha EAD (ARQUIVO)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const std::string caminho = DoTerminal(a.opcoes.Posicional(0, "o arquivo"));
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*)>("QMX_AssinarArquivo")(caminho.c_str());
                 a.saida << "QMX_AssinarArquivo: " << SimNao(r) << "\n";
                 return r;
               }});
  c.push_back({"monta-senha", "QMX_MontaSenha", "empacota a chave (SEMENTE DESLOCAMENTO)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const auto semente = LeNumero(a.opcoes.Posicional(0, "a semente"), 0, 65535, "semente");
                 const auto deslocamento = LeNumero(a.opcoes.Posicional(1, "o deslocamento"), 0, 65535, "deslocamento");
                 char senha[32] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::uint16_t, std::uint16_t, char*)>("QMX_MontaSenha")(
                     static_cast<std::uint16_t>(semente), static_cast<std::uint16_t>(deslocamento), senha);
                 a.saida << senha << "\n";
                 return r;
               }});
  c.push_back({"desmonta-senha", "QMX_DesmontaSenha", "desempacota a chave (SENHA)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const std::string senha = a.opcoes.Posicional(0, "a senha");
                 std::uint16_t semente = 0, deslocamento = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*, std::uint16_t*, std::uint16_t*)>(
                     "QMX_DesmontaSenha")(senha.c_str(), &semente, &deslocamento);
                 a.saida << "semente: " << semente << "\ndeslocamento: " << deslocamento << "\n";
                 return r;
               }});
  c.push_back({"criptografar", "QMX_Criptografar",
               "cifra um texto e um valor (--semente N --deslocamento N --texto T --valor V)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"semente", "deslocamento", "texto", "valor"});
                 const std::string texto = DoTerminal(a.opcoes.Texto("texto").value_or(""));
                 const std::string valor = a.opcoes.Texto("valor").value_or("");
                 if (texto.size() > 99 || valor.size() > 99) throw ErroUso("texto e valor têm no máximo 99 caracteres");
                 char hexTexto[256] = {}, hexValor[256] = {};
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(std::int32_t, std::int32_t, const char*, const char*,
                                                             char*, char*)>("QMX_Criptografar")(
                     static_cast<std::int32_t>(a.opcoes.Numero("semente", -2147483648LL, 2147483647LL, 0)),
                     static_cast<std::int32_t>(a.opcoes.Numero("deslocamento", -2147483648LL, 2147483647LL, 0)),
                     texto.c_str(), valor.c_str(), hexTexto, hexValor);
                 a.saida << "texto: " << hexTexto << "\nvalor: " << hexValor << "\n";
                 return r;
               }});
  c.push_back({"descriptografar", "QMX_Descriptografar",
               "decifra (--senha S --hex-texto H --hex-valor H)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"senha", "hex-texto", "hex-valor"});
                 const std::string senha = a.opcoes.TextoObrigatorio("senha");
                 const std::string hexTexto = a.opcoes.Texto("hex-texto").value_or("");
                 const std::string hexValor = a.opcoes.Texto("hex-valor").value_or("");
                 std::string texto(hexTexto.size() / 2 + 2, '\0');
                 std::int64_t valor = 0;
                 const bool r = a.biblioteca.Funcao<QMX_BOOL(const char*, const char*, const char*, char*,
                                                             std::int64_t*)>("QMX_Descriptografar")(
                     senha.c_str(), hexTexto.c_str(), hexValor.c_str(), texto.data(), &valor);
                 a.saida << "texto: " << texto.c_str() << "\nvalor: " << valor / 10000 << ","
                         << (valor % 10000 < 0 ? -(valor % 10000) : valor % 10000) << " (x10000: " << valor << ")\n";
                 return r;
               }});
  c.push_back({"monta-data", "MontaData", "texto de um número de dia (NUMERO [--ano2])", {"ano2"}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"ano2"});
                 const auto dia = LeNumero(a.opcoes.Posicional(0, "o número do dia"), 0, 65535, "dia");
                 const auto funcao = a.biblioteca.Funcao<std::string(std::uint16_t, bool)>("_Z9MontaDataB5cxx11tb");
                 a.saida << funcao(static_cast<std::uint16_t>(dia), !a.opcoes.Tem("ano2")) << "\n";
                 return true;
               }});
  c.push_back({"monta-hora", "MontaHora", "texto de minutos (MINUTOS) ou de HHMMSS (--hhmmss N [--segundos])",
               {"segundos"}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"hhmmss", "segundos"});
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
               }});
  c.push_back({"criptografar-texto", "CriptografarTexto", "XOR de um texto com um byte (TEXTO CHAVE)", {},
               [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 std::string texto = DoTerminal(a.opcoes.Posicional(0, "o texto"));
                 const auto chave = LeNumero(a.opcoes.Posicional(1, "a chave"), 0, 255, "chave");
                 a.biblioteca.Funcao<void(char*, int, unsigned char)>("_Z17CriptografarTextoPcih")(
                     texto.data(), static_cast<int>(texto.size()), static_cast<unsigned char>(chave));
                 static constexpr char kHex[] = "0123456789ABCDEF";
                 for (unsigned char b : texto) a.saida << kHex[b >> 4] << kHex[b & 15];
                 a.saida << "\n";
                 return true;
               }});
  c.push_back({"parametrizacao", "ECImprimeParametrizacao", "relatório de parâmetros de configuração (--filial --ecf)",
               {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"filial", "ecf"});
                 const bool r = a.biblioteca.Funcao<bool(std::uint16_t, std::uint16_t)>(
                     "_Z23ECImprimeParametrizacaott")(U16(a.opcoes, "filial"), U16(a.opcoes, "ecf"));
                 a.saida << "ECImprimeParametrizacao: " << SimNao(r) << "\n";
                 return r;
               }});
  c.push_back({"integra", "QMX_ProcIntegraCN", "integração do dia: cn, ef, es ou fn (--data DD/MM/AAAA --ecf N "
               "--diretorio LOG)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"data", "ecf", "diretorio"});
                 const std::string passo = a.opcoes.Posicional(0, "a integração (cn, ef, es ou fn)");
                 const std::map<std::string, const char*> exportacoes = {{"cn", "QMX_ProcIntegraCN"},
                                                                         {"ef", "QMX_ProcIntegraEF"},
                                                                         {"es", "QMX_ProcIntegraES"},
                                                                         {"fn", "QMX_ProcIntegraFN"}};
                 const auto exportacao = exportacoes.find(passo);
                 if (exportacao == exportacoes.end())
                   throw ErroUso("integração desconhecida: " + passo + " (cn, ef, es ou fn)");
                 DefineLog(a);
                 REG_QMX_PARAMETROS_INTEGRACAO parametros{};
                 parametros.nData = DataOpcional(a.opcoes, "data");
                 parametros.nEcf = U16(a.opcoes, "ecf");
                 const std::int32_t r = a.biblioteca.Funcao<std::int32_t(REG_QMX_PARAMETROS_INTEGRACAO)>(
                     exportacao->second)(parametros);
                 a.saida << exportacao->second << ": " << ResultadoIntegracao(r) << "\n";
                 return r >= 0;
               }});
  c.push_back({"integra-cupom", "QMX_IntegraCupomES", "integração de estoque de um cupom (--data DD/MM/AAAA --ecf N "
               "--cupom COO --diretorio LOG)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({"data", "ecf", "cupom", "diretorio"});
                 DefineLog(a);
                 REG_EC_CX_CHAVEPS chave{};
                 chave.Cupom = static_cast<std::uint32_t>(a.opcoes.Numero("cupom", 1, 4294967295LL, 0));
                 chave.Data = DataOpcional(a.opcoes, "data");
                 chave.Emissora = U16(a.opcoes, "ecf");
                 // The front end holds the cupom's record when it calls; here
                 // it is read from the cash data as the front end would.
                 dados::CConexaoECSCX cupons;
                 std::vector<std::uint32_t> achados;
                 std::vector<dados::CupomCompleto> lidos;
                 if (com::FAILED(cupons.Inicializa(a.empresa, 1, 0)) || com::FAILED(cupons.Busca(chave, &achados)) ||
                     achados.empty() || com::FAILED(cupons.Le({achados.front()}, &lidos)) || lidos.empty()) {
                   a.saida << "cupom " << chave.Cupom << " do ECF " << chave.Emissora << " não encontrado\n";
                   return false;
                 }
                 const std::int32_t r = a.biblioteca.Funcao<std::int32_t(void*, std::int32_t, std::int32_t,
                                                                         std::int32_t)>("QMX_IntegraCupomES")(
                     &lidos.front().Cupom, 1, 0, 0);
                 a.saida << "QMX_IntegraCupomES: " << ResultadoIntegracao(r) << "\n";
                 return r >= 0;
               }});
  c.push_back({"chave-publica", "", "mostra a chave pública que confere as linhas EAD", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 a.saida << kChavePublicaPEM;
                 return true;
               }});
  c.push_back({"verificar", "", "confere a linha EAD de um arquivo (ARQUIVO)", {}, [](Ambiente& a) {
                 a.opcoes.SoAceita({});
                 const std::string caminho = a.opcoes.Posicional(0, "o arquivo");
                 switch (VerificaArquivo(caminho)) {
                   case ResultadoVerificacao::Valida: a.saida << "assinatura válida\n"; return true;
                   case ResultadoVerificacao::Invalida: a.saida << "assinatura inválida\n"; return false;
                   case ResultadoVerificacao::SemLinhaEAD: a.saida << "o arquivo não termina numa linha EAD\n"; return false;
                   case ResultadoVerificacao::Ilegivel: break;
                 }
                 a.saida << "não foi possível ler " << DoTerminal(caminho) << "\n";
                 return false;
               }});
  c.push_back({"mensagem", "", "mensagem do catálogo do fabricante (MODULO NUMERO [--pasta DIR])", {},
               [](Ambiente& a) { return ExecutaMensagem(a); }});
  c.push_back({"demo", "",
               "monta uma empresa de demonstração com um mês de movimento e mostra o que a biblioteca faz "
               "(--pasta DIR, --tamanho N, --loja-grande)",
               {"loja-grande"},
               [](Ambiente& a) { return ExecutaDemo(a); }});
  return c;
}

}  // namespace

const std::vector<Comando>& Comandos() {
  static const std::vector<Comando> comandos = MontaComandos();
  return comandos;
}

const Comando* ProcuraComando(const std::string& nome) {
  for (const auto& comando : Comandos())
    if (comando.nome == nome) return &comando;
  return nullptr;
}

std::string ParaTerminal(const std::string& texto) { return qmx::texto::ParaUtf8(texto); }
std::string DoTerminal(const std::string& texto) { return qmx::texto::DeUtf8OuLatin(texto); }

}  // namespace qmx::cli
