#include "plataforma/ui/HostRoteirizado.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "plataforma/texto/Windows1252.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/RegistroUi.h"

namespace qmx::ui {
namespace {

// Protects against a dialog whose handlers never let it close.
constexpr int kLimiteCancelamentos = 3;

std::map<int, EstadoControle> Fotografa(const CDialogo& dialogo) {
  std::map<int, EstadoControle> estados;
  for (int id : dialogo.IdsControles()) {
    const CControle& controle = dialogo.GetDlgItem(id);
    EstadoControle estado;
    estado.texto = controle.GetWindowText();
    estado.marcado = controle.GetCheck();
    estado.habilitado = controle.IsWindowEnabled();
    estado.selecao = controle.GetCurSel();
    for (int i = 0; i < controle.GetCount(); ++i) estado.itens.push_back(controle.GetText(i));
    for (int c = 0; c < controle.GetColumnCount(); ++c) {
      estado.colunas.push_back(controle.GetColumnText(c));
      estado.alinhamentos.push_back(controle.GetColumnFormat(c));
      estado.larguras.push_back(controle.GetColumnWidth(c));
    }
    estado.estiloEstendido = controle.GetExtendedStyle();
    if (controle.GetColumnCount() > 0)
      for (int i = 0; i < controle.GetCount(); ++i) {
        auto& linha = estado.linhas.emplace_back();
        for (int c = 0; c < controle.GetColumnCount(); ++c) linha.push_back(controle.GetItemText(i, c));
      }
    estado.selecionadas = controle.GetSelItems();
    estados.emplace(id, std::move(estado));
  }
  return estados;
}

int LeInteiro(const std::string& palavra, const std::string& linha) {
  int valor = 0;
  const auto [fim, erro] = std::from_chars(palavra.data(), palavra.data() + palavra.size(), valor);
  if (erro != std::errc() || fim != palavra.data() + palavra.size())
    throw std::invalid_argument("roteiro: número esperado em \"" + linha + "\"");
  return valor;
}

int LeResposta(const std::string& palavra, const std::string& linha) {
  static const std::map<std::string, int> kNomes = {
      {"ok", IDOK},       {"cancelar", IDCANCEL}, {"abortar", IDABORT}, {"repetir", IDRETRY},
      {"ignorar", IDIGNORE}, {"sim", IDYES},     {"nao", IDNO},        {"não", IDNO}};
  const auto it = kNomes.find(palavra);
  return it != kNomes.end() ? it->second : LeInteiro(palavra, linha);
}

// Tabs and line breaks of a text as escapes, so that one record stays on
// one line of the record file.
std::string Escapa(const std::string& texto) { return EscapaRegistroUi(texto); }

}  // namespace

HostRoteirizado::HostRoteirizado() = default;
HostRoteirizado::~HostRoteirizado() = default;

void HostRoteirizado::Limpa() {
  m_dialogos.clear();
  m_respostas.clear();
  m_caixas.clear();
  m_executados.clear();
  m_erros.clear();
  m_ajudas.clear();
  m_progressos.clear();
  m_cancelamentos.clear();
  m_fimProgressos = 0;
  m_vezesCursorEspera = 0;
}

void HostRoteirizado::CarregaRoteiro(const std::string& textoRoteiro) {
  // Scripts are usually written on a UTF-8 terminal; the dialogs see
  // Windows-1252 like every text of the library.
  std::istringstream linhas(qmx::texto::DeUtf8OuLatin(textoRoteiro));
  std::string linha;
  while (std::getline(linhas, linha)) {
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    std::istringstream palavras(linha);
    std::string verbo;
    if (!(palavras >> verbo) || verbo[0] == '#') continue;
    std::string argumento;
    palavras >> argumento;
    if (verbo == "resposta") {
      m_respostas.push_back(LeResposta(argumento, linha));
      continue;
    }
    if (verbo == "cancela-progresso") {
      m_cancelamentos.push_back(argumento.empty() ? 1 : LeInteiro(argumento, linha));
      continue;
    }
    if (verbo == "dialogo") {
      m_dialogos.push_back({argumento == "*" || argumento.empty() ? 0 : LeInteiro(argumento, linha), {}});
      continue;
    }
    if (m_dialogos.empty()) throw std::invalid_argument("roteiro: ação antes de \"dialogo\": " + linha);
    AcaoRoteiro acao;
    if (verbo == "digita") {
      acao.tipo = AcaoRoteiro::Tipo::Digita;
      acao.id = LeInteiro(argumento, linha);
      std::string resto;
      std::getline(palavras, resto);
      const auto inicio = resto.find_first_not_of(' ');
      acao.texto = inicio == std::string::npos ? std::string() : resto.substr(inicio);
    } else if (verbo == "clica") {
      acao.tipo = AcaoRoteiro::Tipo::Clica;
      acao.id = LeInteiro(argumento, linha);
    } else if (verbo == "seleciona") {
      acao.tipo = AcaoRoteiro::Tipo::Seleciona;
      acao.id = LeInteiro(argumento, linha);
      std::string indice;
      palavras >> indice;
      acao.indice = LeInteiro(indice, linha);
      while (palavras >> indice) acao.outrosIndices.push_back(LeInteiro(indice, linha));
    } else if (verbo == "fecha") {
      acao.tipo = AcaoRoteiro::Tipo::Fecha;
    } else if (verbo == "tab") {
      acao.tipo = AcaoRoteiro::Tipo::Tab;
    } else if (verbo == "ocioso") {
      acao.tipo = AcaoRoteiro::Tipo::Ocioso;
    } else if (verbo == "ajuda") {
      acao.tipo = AcaoRoteiro::Tipo::Ajuda;
    } else if (verbo == "segura-shift") {
      acao.tipo = AcaoRoteiro::Tipo::SeguraShift;
    } else if (verbo == "solta-shift") {
      acao.tipo = AcaoRoteiro::Tipo::SoltaShift;
    } else {
      throw std::invalid_argument("roteiro: passo desconhecido: " + linha);
    }
    m_dialogos.back().acoes.push_back(std::move(acao));
  }
}

void HostRoteirizado::Executa(CDialogo& dialogo, const AcaoRoteiro& acao) {
  const auto recusa = [&](const std::string& motivo) {
    RegistraErro("diálogo " + std::to_string(dialogo.IdModelo()) + ": " + motivo);
  };
  if ((acao.tipo == AcaoRoteiro::Tipo::Digita || acao.tipo == AcaoRoteiro::Tipo::Clica ||
       acao.tipo == AcaoRoteiro::Tipo::Seleciona)) {
    if (!dialogo.TemControle(acao.id)) return recusa("controle inexistente " + std::to_string(acao.id));
    if (!dialogo.GetDlgItem(acao.id).IsWindowEnabled())
      return recusa("controle desabilitado " + std::to_string(acao.id));
  }
  switch (acao.tipo) {
    case AcaoRoteiro::Tipo::Digita: dialogo.Digita(acao.id, acao.texto); break;
    case AcaoRoteiro::Tipo::Clica: dialogo.Clica(acao.id); break;
    case AcaoRoteiro::Tipo::Seleciona: {
      const CControle& controle = dialogo.GetDlgItem(acao.id);
      std::vector<int> indices{acao.indice};
      indices.insert(indices.end(), acao.outrosIndices.begin(), acao.outrosIndices.end());
      for (int indice : indices)
        if (indice < 0 || indice >= controle.GetCount())
          return recusa("linha inexistente " + std::to_string(indice) + " em " + std::to_string(acao.id) + " (há " +
                        std::to_string(controle.GetCount()) + ")");
      if (indices.size() == 1) {
        dialogo.SelecionaItem(acao.id, acao.indice);
      } else {
        if (!controle.SelecaoMultipla())
          return recusa("a lista " + std::to_string(acao.id) + " só aceita uma linha");
        dialogo.SelecionaItens(acao.id, indices);
      }
      break;
    }
    case AcaoRoteiro::Tipo::Fecha: dialogo.Fecha(); break;
    case AcaoRoteiro::Tipo::Tab: dialogo.Tabula(); break;
    case AcaoRoteiro::Tipo::Ocioso: dialogo.OnIdle(); break;
    case AcaoRoteiro::Tipo::Ajuda: dialogo.OnHelp(); break;
    case AcaoRoteiro::Tipo::SeguraShift: m_shift = true; break;
    case AcaoRoteiro::Tipo::SoltaShift: m_shift = false; break;
  }
}

int HostRoteirizado::ExecutaModal(CDialogo& dialogo) {
  // The dialog counts as open from its start-up on: boxes it shows there
  // belong to it.
  m_abertos.push_back(dialogo.IdModelo());
  struct Fecha {
    std::vector<int>& abertos;
    ~Fecha() { abertos.pop_back(); }
  } fecha{m_abertos};
  if (!dialogo.Cria()) {
    RegistraErro("modelo de diálogo inexistente " + std::to_string(dialogo.IdModelo()));
    return -1;
  }

  DialogoExecutado registro;
  registro.idModelo = dialogo.IdModelo();
  registro.titulo = dialogo.GetWindowText();
  registro.aposInicio = Fotografa(dialogo);
  registro.focoAposInicio = dialogo.FocoAtual();

  DialogoRoteiro roteiro;
  if (dialogo.Aberto() && !m_dialogos.empty()) {
    roteiro = std::move(m_dialogos.front());
    m_dialogos.pop_front();
    if (roteiro.idModelo != 0 && roteiro.idModelo != dialogo.IdModelo()) {
      RegistraErro("esperava o diálogo " + std::to_string(roteiro.idModelo) + ", abriu " +
                        std::to_string(dialogo.IdModelo()));
      roteiro.acoes.clear();
    }
  }
  const std::size_t errosAntes = m_erros.size();
  for (const auto& acao : roteiro.acoes) {
    if (!dialogo.Aberto()) break;
    // A step that could not be done cancels the dialog, when so asked,
    // rather than going on with what the script did not mean.
    if (m_paraNoErro && m_erros.size() != errosAntes) break;
    const int foco = dialogo.FocoAtual();
    const std::size_t caixasAntes = m_caixas.size();
    Executa(dialogo, acao);
    // A notice the dialog showed and stayed open after (a date it refused
    // and reset, a branch it did not find) refuses an answer: the script
    // does not go on over it, as an operator reading the notice would not.
    if (m_paraNoErro && dialogo.Aberto()) {
      for (std::size_t i = caixasAntes; i < m_caixas.size(); ++i) {
        // A question is a conversation, an error box a failure of the work
        // (the program is told by the box itself): neither refuses an answer.
        if ((m_caixas[i].flags & 0x0Fu) != MB_OK || (m_caixas[i].flags & 0xF0u) == MB_ICONERROR) continue;
        // The dialog puts the focus back on what it refused; else the
        // control left, whose leaving was checked.
        const int depois = dialogo.FocoAtual();
        const int controle = depois ? depois : foco ? foco : acao.id;
        RegistraErro("diálogo " + std::to_string(dialogo.IdModelo()) + ", controle " + std::to_string(controle) +
                     ": " + m_caixas[i].texto);
        break;
      }
    }
  }
  m_shift = false;
  registro.focoAoFimDoRoteiro = dialogo.Aberto() ? dialogo.FocoAtual() : 0;
  for (int vez = 0; dialogo.Aberto() && vez < kLimiteCancelamentos; ++vez) dialogo.Clica(IDCANCEL);
  if (dialogo.Aberto()) dialogo.EndDialog(IDCANCEL);

  registro.aoFechar = Fotografa(dialogo);
  registro.resultado = dialogo.Resultado();
  Anota("dialogo\t" + std::to_string(registro.idModelo) + "\t" + Escapa(registro.titulo) + "\t" +
        std::to_string(registro.resultado));
  AnotaControles(registro.aoFechar, dialogo);
  m_executados.push_back(std::move(registro));
  return dialogo.Resultado();
}

int HostRoteirizado::MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) {
  int resposta = RespostaPadrao(flags);
  if (!m_respostas.empty()) {
    const int pedida = m_respostas.front();
    m_respostas.pop_front();
    if (RespostaValida(flags, pedida)) resposta = pedida;
    else RegistraErro("a caixa \"" + texto + "\" não tem a resposta " + std::to_string(pedida));
  }
  m_caixas.push_back({texto, titulo, flags, resposta, m_abertos.empty() ? 0 : m_abertos.back()});
  Anota("caixa\t" + Escapa(titulo) + "\t" + std::to_string(flags) + "\t" + std::to_string(resposta) +
        "\t" + Escapa(texto));
  return resposta;
}

bool HostRoteirizado::Progresso(const AndamentoTrabalho& andamento) {
  m_progressos.push_back(andamento);
  if (m_terminal >= 0) {
    // "Title [#########...........]  45%  text", redrawn in place; with no
    // total known, the text alone. Texts are written as the terminal
    // reads them (UTF-8).
    std::string linha = "\r" + andamento.titulo + " ";
    if (andamento.total > 0) {
      const int largura = 30;
      const auto cheio = static_cast<int>(std::min<std::int64_t>(andamento.feito, andamento.total) * largura /
                                          andamento.total);
      linha += "[" + std::string(static_cast<std::size_t>(cheio), '#') +
               std::string(static_cast<std::size_t>(largura - cheio), '.') + "] " +
               std::to_string(std::min<std::int64_t>(andamento.feito, andamento.total) * 100 / andamento.total) +
               "% ";
    }
    linha += andamento.texto + "\x1b[K";
    const std::string utf8 = qmx::texto::ParaUtf8(linha);
    [[maybe_unused]] const auto escritos = ::write(m_terminal, utf8.data(), utf8.size());
  }
  Anota("progresso\t" + Escapa(andamento.titulo) + "\t" + std::to_string(andamento.feito) + "\t" +
        std::to_string(andamento.total) + "\t" + Escapa(andamento.texto));
  if (m_cancelamentos.empty() || --m_cancelamentos.front() > 0) return true;
  m_cancelamentos.pop_front();
  return false;
}

void HostRoteirizado::FimProgresso() {
  ++m_fimProgressos;
  if (m_terminal >= 0) {
    [[maybe_unused]] const auto escritos = ::write(m_terminal, "\r\x1b[K", 4);
  }
}

void HostRoteirizado::CursorEspera(bool ligado) {
  if (ligado) {
    ++m_cursorEspera;
    ++m_vezesCursorEspera;
  } else if (m_cursorEspera > 0) {
    --m_cursorEspera;
  }
}

void HostRoteirizado::AbreAjuda(const std::string& modulo) {
  m_ajudas.push_back(modulo);
  Anota("ajuda\t" + Escapa(modulo));
}

// What a program reading the record needs to show a dialog's result: the
// static texts the code wrote and the report lists. Edits are left out (a
// password must not reach a file).
void HostRoteirizado::AnotaControles(const std::map<int, EstadoControle>& estados, const CDialogo& dialogo) const {
  if (m_arquivoRegistro.empty()) return;
  for (const auto& [id, estado] : estados) {
    const std::string prefixo = "\t" + std::to_string(id) + "\t";
    const std::string& classe = dialogo.GetDlgItem(id).Classe();
    if (classe == "Static" && !estado.texto.empty()) Anota("texto" + prefixo + Escapa(estado.texto));
    for (std::size_t c = 0; c < estado.colunas.size(); ++c)
      Anota("coluna" + prefixo + Escapa(estado.colunas[c]) + "\t" + std::to_string(estado.alinhamentos[c]) + "\t" +
            std::to_string(estado.larguras[c]));
    for (const auto& linha : estado.linhas) {
      std::string texto = "linha" + prefixo;
      for (std::size_t c = 0; c < linha.size(); ++c) texto += (c ? "\t" : "") + Escapa(linha[c]);
      Anota(texto);
    }
  }
}

void HostRoteirizado::RegistraErro(const std::string& erro) {
  m_erros.push_back(erro);
  Anota("erro\t" + Escapa(erro));
}

void HostRoteirizado::Anota(const std::string& linha) const { AnotaRegistroUi(m_arquivoRegistro, linha); }

}  // namespace qmx::ui
