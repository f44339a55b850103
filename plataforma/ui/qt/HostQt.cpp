#include "plataforma/ui/qt/HostQt.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <vector>

#include "plataforma/texto/Windows1252.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/JanelasDoAmbiente.h"
#include "plataforma/ui/ModuloRecursos.h"
#include "plataforma/ui/RegistroUi.h"
#include "plataforma/ui/qt/JanelaDialogo.h"

namespace qmx::ui {

namespace {

// A box's buttons, left to right, with the answers they give and the
// captions Windows gives them in Portuguese.
struct BotaoCaixa {
  int resposta;
  const char* legenda;
  QMessageBox::ButtonRole papel;
};

std::vector<BotaoCaixa> BotoesDaCaixa(unsigned flags) {
  const BotaoCaixa ok{IDOK, "OK", QMessageBox::AcceptRole};
  const BotaoCaixa cancelar{IDCANCEL, "Cancelar", QMessageBox::RejectRole};
  const BotaoCaixa sim{IDYES, "Sim", QMessageBox::YesRole};
  const BotaoCaixa nao{IDNO, "Não", QMessageBox::NoRole};
  const BotaoCaixa repetir{IDRETRY, "Repetir", QMessageBox::AcceptRole};
  switch (flags & 0xF) {
    case MB_OKCANCEL: return {ok, cancelar};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, "Anular", QMessageBox::RejectRole}, repetir, {IDIGNORE, "Ignorar", QMessageBox::AcceptRole}};
    case MB_YESNOCANCEL: return {sim, nao, cancelar};
    case MB_YESNO: return {sim, nao};
    case MB_RETRYCANCEL: return {repetir, cancelar};
    default: return {ok};
  }
}

QMessageBox::Icon IconeDaCaixa(unsigned flags) {
  switch (flags & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

HostQt::HostQt() = default;
HostQt::~HostQt() = default;

// What the operator was shown goes into the record the qmx program reads
// (QMX_ROTEIRO_REGISTRO), as the scripted host writes it: the program
// tells a cancelled dialog or a failure whoever drew the windows.
void HostQt::Anota(const std::string& linha) const {
  const char* arquivo = std::getenv("QMX_ROTEIRO_REGISTRO");
  if (arquivo && *arquivo) AnotaRegistroUi(arquivo, linha);
}

int HostQt::ExecutaModal(CDialogo& dialogo) {
  const ModeloDialogo* modelo = ProcuraModelo(dialogo.IdModelo());
  if (!modelo) return -1;
  CJanelaDialogo janela(dialogo, *modelo, QApplication::activeWindow());
  if (!dialogo.Cria()) return -1;
  int resultado = dialogo.Resultado();
  // A dialog given its whole filter did its work in its start-up.
  if (dialogo.Aberto()) {
    janela.Comeca();
    if (aoMostrar) QTimer::singleShot(0, &janela, [this, &janela, &dialogo] { aoMostrar(janela, dialogo); });
    resultado = janela.exec();
  }
  Anota("dialogo\t" + std::to_string(dialogo.IdModelo()) + "\t" + EscapaRegistroUi(dialogo.GetWindowText()) + "\t" +
        std::to_string(resultado));
  return resultado;
}

int HostQt::MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) {
  QString corpo = ParaQt(texto);
  corpo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox caixa(IconeDaCaixa(flags), ParaQt(titulo), corpo, QMessageBox::NoButton, QApplication::activeWindow());
  const auto botoes = BotoesDaCaixa(flags);
  std::vector<QPushButton*> criados;
  for (const auto& botao : botoes) criados.push_back(caixa.addButton(ParaQt(botao.legenda), botao.papel));
  // The default button as the flags choose it; Esc answers Cancel where
  // the box has it, and OK where OK is its only button.
  const unsigned padrao = (flags >> 8) & 0xF;
  caixa.setDefaultButton(criados[padrao < criados.size() ? padrao : 0]);
  for (std::size_t i = 0; i < botoes.size(); ++i)
    if (botoes[i].resposta == IDCANCEL || botoes.size() == 1) caixa.setEscapeButton(criados[i]);
  if (aoMostrarCaixa) QTimer::singleShot(0, &caixa, [this, &caixa] { aoMostrarCaixa(caixa); });
  caixa.exec();
  int resposta = RespostaPadrao(flags);
  for (std::size_t i = 0; i < botoes.size(); ++i)
    if (caixa.clickedButton() == criados[i]) resposta = botoes[i].resposta;
  Anota("caixa\t" + EscapaRegistroUi(titulo) + "\t" + std::to_string(flags) + "\t" + std::to_string(resposta) + "\t" +
        EscapaRegistroUi(texto));
  return resposta;
}

void HostQt::CursorEspera(bool ligado) {
  if (ligado) {
    if (m_cursorEspera++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (m_cursorEspera > 0 && --m_cursorEspera == 0) {
    QApplication::restoreOverrideCursor();
  }
}

bool HostQt::ShiftPressionado() const {
  return (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0;
}

void HostQt::AbreAjuda(const std::string& modulo) {
  if (aoAbrirAjuda) aoAbrirAjuda(modulo);
}

bool HostQt::Progresso(const AndamentoTrabalho& andamento) {
  // Amounts go to the bar as thousandths; with no total the bar only
  // shows that the work goes on.
  constexpr int kEscala = 1000;
  const bool novo = !m_progresso;
  if (novo) {
    m_progresso = std::make_unique<QProgressDialog>(QApplication::activeWindow());
    m_progresso->setWindowModality(Qt::ApplicationModal);
    m_progresso->setCancelButtonText(QStringLiteral("Cancelar"));
    m_progresso->setAutoClose(false);
    m_progresso->setAutoReset(false);
    m_progresso->setMinimumDuration(0);
    m_progresso->setMinimumWidth(360);
  }
  m_progresso->setWindowTitle(ParaQt(andamento.titulo));
  m_progresso->setLabelText(ParaQt(andamento.texto));
  if (andamento.total > 0) {
    m_progresso->setRange(0, kEscala);
    m_progresso->setValue(static_cast<int>(std::min(andamento.feito, andamento.total) * kEscala / andamento.total));
  } else {
    m_progresso->setRange(0, 0);
  }
  if (novo) {
    m_progresso->show();
    if (aoMostrarProgresso) aoMostrarProgresso(*m_progresso);
  }
  QCoreApplication::processEvents();
  return !m_progresso->wasCanceled();
}

void HostQt::FimProgresso() { m_progresso.reset(); }

bool AtivaJanelasQt() {
  if (!QCoreApplication::instance()) {
    // Without a display that answers Qt would end the process: then
    // nothing changes.
    if (!TelaResponde()) return false;
    static int argc = 1;
    static char nome[] = "qmxutil";
    static char* argv[] = {nome, nullptr};
    // Made once and never destroyed: a QApplication must go before Qt's
    // own globals and the display connection, which a destructor run at
    // the program's exit (or at the library's unloading) cannot promise;
    // the system takes back its memory and windows when the process ends.
    // A program that made its own is never touched.
    new QApplication(argc, argv);
  } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    return false;  // a program without widgets
  }
  // The host too: its progress window is a widget of that application.
  static HostQt* host = new HostQt;
  DefineHost(host);
  return true;
}

}  // namespace qmx::ui

extern "C" int QMX_AtivaJanelasQt(void) { return qmx::ui::AtivaJanelasQt() ? 1 : 0; }
