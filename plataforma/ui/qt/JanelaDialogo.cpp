#include "plataforma/ui/qt/JanelaDialogo.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QTreeWidget>

#include "plataforma/texto/Windows1252.h"
#include "plataforma/ui/Controle.h"
#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

QString ParaQt(const std::string& cp1252) { return QString::fromStdString(texto::ParaUtf8(cp1252)); }

namespace {

std::string DoQt(const QString& texto) { return texto::DeUtf8(texto.toStdString()); }

// The rows selected in a list, in order.
std::vector<int> LinhasSelecionadas(QWidget* widget) {
  std::vector<int> linhas;
  if (auto* arvore = qobject_cast<QTreeWidget*>(widget)) {
    for (int i = 0; i < arvore->topLevelItemCount(); ++i)
      if (arvore->topLevelItem(i)->isSelected()) linhas.push_back(i);
  } else if (auto* lista = qobject_cast<QListWidget*>(widget)) {
    for (int i = 0; i < lista->count(); ++i)
      if (lista->item(i)->isSelected()) linhas.push_back(i);
  }
  return linhas;
}

Qt::Alignment AlinhamentoDaColuna(int formato) {
  if (formato == LVCFMT_RIGHT) return Qt::AlignRight | Qt::AlignVCenter;
  if (formato == LVCFMT_CENTER) return Qt::AlignHCenter | Qt::AlignVCenter;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// A text with a mnemonic: an "&" before a letter ("&&" is the sign itself).
bool TemAtalho(const std::string& texto) {
  for (std::size_t i = 0; i + 1 < texto.size(); ++i) {
    if (texto[i] != '&') continue;
    if (texto[i + 1] != '&') return true;
    ++i;
  }
  return false;
}

}  // namespace

UnidadesDialogo UnidadesDialogo::DaFonte(const QFont& fonte) {
  UnidadesDialogo unidades;
  unidades.fonte = fonte;
  const QFontMetrics metricas(fonte);
  // The average width of the 52 letters, rounded, as Windows measures a
  // dialog font; the height is the font's whole line.
  const int largura = metricas.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  unidades.baseX = (largura / 26 + 1) / 2;
  unidades.baseY = metricas.height();
  return unidades;
}

QRect UnidadesDialogo::EmPixels(const Retangulo& r) const {
  const auto x = [&](int du) { return (du * baseX + 2) / 4; };
  const auto y = [&](int du) { return (du * baseY + 4) / 8; };
  return QRect(x(r.x), y(r.y), x(r.x + r.largura) - x(r.x), y(r.y + r.altura) - y(r.y));
}

CJanelaDialogo::CJanelaDialogo(CDialogo& dialogo, const ModeloDialogo& modelo, QWidget* pai)
    : QDialog(pai), m_dialogo(dialogo) {
  // The templates ask for 8-point "MS Sans Serif"; the system's closest
  // face at that size takes its place, and the units follow its metrics.
  QFont fonte(QStringLiteral("MS Sans Serif"));
  fonte.setPointSize(8);
  fonte.setStyleHint(QFont::SansSerif);
  m_unidades = UnidadesDialogo::DaFonte(fonte);
  setFont(fonte);
  setWindowTitle(ParaQt(modelo.titulo));
  setModal(true);
  const QRect area = m_unidades.EmPixels(modelo.retangulo);
  setFixedSize(area.width(), area.height());
  for (const auto& controle : modelo.controles) CriaControle(controle);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* agora) { FocoMudou(agora); });
}

void CJanelaDialogo::CriaControle(const ModeloControle& m) {
  QWidget* widget = nullptr;
  const bool paradaTab = m.TemEstilo("WS_TABSTOP");
  if (m.classe == "Static") {
    auto* rotulo = new QLabel(ParaQt(m.texto), this);
    rotulo->setWordWrap(true);
    if (!m.TemEstilo("SS_NOPREFIX") && TemAtalho(m.texto)) m_rotuloComAtalho = rotulo;
    rotulo->setAlignment((m.TemEstilo("SS_CENTER")  ? Qt::AlignHCenter
                          : m.TemEstilo("SS_RIGHT") ? Qt::AlignRight
                                                    : Qt::AlignLeft) |
                         Qt::AlignTop);
    widget = rotulo;
  } else if (m.classe == "Edit") {
    auto* edit = new QLineEdit(this);
    if (m.TemEstilo("ES_PASSWORD")) edit->setEchoMode(QLineEdit::Password);
    if (m.TemEstilo("ES_NUMBER"))
      edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    if (m.TemEstilo("ES_READONLY")) edit->setReadOnly(true);
    if (m.TemEstilo("ES_RIGHT")) edit->setAlignment(Qt::AlignRight);
    edit->setFrame(m.TemEstilo("WS_BORDER"));
    edit->installEventFilter(this);
    widget = edit;
  } else if (m.classe == "Button" && m.TemEstilo("BS_GROUPBOX")) {
    widget = new QGroupBox(ParaQt(m.texto), this);
  } else if (m.classe == "Button" && (m.TemEstilo("BS_AUTOCHECKBOX") || m.TemEstilo("BS_CHECKBOX"))) {
    widget = new QCheckBox(ParaQt(m.texto), this);
  } else if (m.classe == "Button" && (m.TemEstilo("BS_AUTORADIOBUTTON") || m.TemEstilo("BS_RADIOBUTTON"))) {
    auto* radio = new QRadioButton(ParaQt(m.texto), this);
    radio->setAutoExclusive(false);  // the dialog object keeps the groups
    widget = radio;
  } else if (m.classe == "Button") {
    auto* botao = new QPushButton(ParaQt(m.texto), this);
    botao->setDefault(m.TemEstilo("BS_DEFPUSHBUTTON"));
    botao->setAutoDefault(true);
    widget = botao;
  } else if (m.classe == "ComboBox") {
    auto* combo = new QComboBox(this);
    combo->setEditable(m.TemEstilo("CBS_DROPDOWN") && !m.TemEstilo("CBS_DROPDOWNLIST"));
    widget = combo;
  } else if (m.classe == "ListBox") {
    auto* lista = new QListWidget(this);
    lista->setSelectionMode(m.TemEstilo("LBS_MULTIPLESEL") || m.TemEstilo("LBS_EXTENDEDSEL")
                                ? QAbstractItemView::ExtendedSelection
                                : QAbstractItemView::SingleSelection);
    widget = lista;
  } else if (m.classe == "SysListView32") {
    auto* arvore = new QTreeWidget(this);
    arvore->setRootIsDecorated(false);
    arvore->setUniformRowHeights(true);
    arvore->setSortingEnabled(false);
    arvore->setHeaderHidden(m.TemEstilo("LVS_NOCOLUMNHEADER"));
    arvore->setSelectionBehavior(QAbstractItemView::SelectRows);
    arvore->setSelectionMode(m.TemEstilo("LVS_SINGLESEL") ? QAbstractItemView::SingleSelection
                                                         : QAbstractItemView::ExtendedSelection);
    widget = arvore;
  } else {
    widget = new QLabel(this);  // a class of no template of the library
  }
  widget->setGeometry(m_unidades.EmPixels(m.retangulo));
  // Alt and a text's letter go to the next control the operator can tab to
  // (Qt shows the letter underlined only when the text has that control).
  if (m_rotuloComAtalho && widget != m_rotuloComAtalho && paradaTab && !qobject_cast<QLabel*>(widget) &&
      !qobject_cast<QGroupBox*>(widget)) {
    m_rotuloComAtalho->setBuddy(widget);
    m_rotuloComAtalho = nullptr;
  }
  // Tab reaches the controls with a tab stop, in template order (the order
  // they are made in); the others take the focus only when clicked, and
  // texts and frames never.
  if (qobject_cast<QLabel*>(widget) || qobject_cast<QGroupBox*>(widget)) widget->setFocusPolicy(Qt::NoFocus);
  else widget->setFocusPolicy(paradaTab ? Qt::StrongFocus : Qt::ClickFocus);
  if (m.id == -1) return;
  widget->setObjectName(QStringLiteral("c%1").arg(m.id));
  widget->setProperty("qmx_id", m.id);
  m_controles[m.id] = widget;
  Liga(widget, m.id);
}

void CJanelaDialogo::Liga(QWidget* widget, int id) {
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& texto) {
      if (m_copiando) return;
      m_dialogo.Digita(id, DoQt(texto));
      Conclui();
    });
  } else if (auto* botao = qobject_cast<QAbstractButton*>(widget)) {
    connect(botao, &QAbstractButton::clicked, this, [this, id] {
      if (m_copiando) return;
      m_dialogo.Clica(id);
      Conclui();
    });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    connect(combo, &QComboBox::activated, this, [this, id](int indice) {
      if (m_copiando) return;
      m_dialogo.SelecionaItem(id, indice);
      Conclui();
    });
  } else if (qobject_cast<QTreeWidget*>(widget) || qobject_cast<QListWidget*>(widget)) {
    auto* vista = static_cast<QAbstractItemView*>(widget);
    connect(vista->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, id, widget] {
      if (m_copiando) return;
      const std::vector<int> linhas = LinhasSelecionadas(widget);
      if (linhas.size() > 1) m_dialogo.SelecionaItens(id, linhas);
      else m_dialogo.SelecionaItem(id, linhas.empty() ? -1 : linhas.front());
      Conclui();
    });
  }
}

void CJanelaDialogo::Comeca() {
  Copia();
  if (QWidget* foco = Controle(m_dialogo.FocoAtual())) foco->setFocus(Qt::OtherFocusReason);
}

QWidget* CJanelaDialogo::Controle(int id) const {
  const auto achado = m_controles.find(id);
  return achado == m_controles.end() ? nullptr : achado->second;
}

int CJanelaDialogo::IdDe(QWidget* widget) const {
  for (; widget && widget != this; widget = widget->parentWidget()) {
    const QVariant id = widget->property("qmx_id");
    if (id.isValid() && widget->parentWidget() == this) return id.toInt();
  }
  return 0;
}

void CJanelaDialogo::FocoMudou(QWidget* agora) {
  if (m_copiando || !m_dialogo.Aberto() || !isVisible()) return;
  const int id = IdDe(agora);
  // Focus gone out of the dialog (a message box, the progress window)
  // changes nothing.
  if (id == 0 || id == m_dialogo.FocoAtual() || !m_dialogo.TemControle(id)) return;
  m_dialogo.GotoDlgCtrl(id);
  Conclui();
}

void CJanelaDialogo::Conclui() {
  if (m_dialogo.Aberto()) m_dialogo.OnIdle();
  if (!m_dialogo.Aberto()) {
    m_fechando = true;
    done(m_dialogo.Resultado());
    return;
  }
  Copia();
  // Later: the focus may be moving right now.
  QTimer::singleShot(0, this, [this] { SincronizaFoco(); });
}

void CJanelaDialogo::SincronizaFoco() {
  if (!m_dialogo.Aberto()) return;
  QWidget* alvo = Controle(m_dialogo.FocoAtual());
  QWidget* atual = QApplication::focusWidget();
  if (!alvo || !atual || !isAncestorOf(atual) || IdDe(atual) == m_dialogo.FocoAtual()) return;
  m_copiando = true;
  alvo->setFocus(Qt::OtherFocusReason);
  m_copiando = false;
}

void CJanelaDialogo::Copia() {
  m_copiando = true;
  const QString titulo = ParaQt(m_dialogo.GetWindowText());
  if (windowTitle() != titulo) setWindowTitle(titulo);
  for (int id : m_dialogo.IdsControles()) {
    QWidget* widget = Controle(id);
    if (!widget) continue;
    const CControle& controle = m_dialogo.GetDlgItem(id);
    const QString texto = ParaQt(controle.GetWindowText());
    if (controle.EhLista()) {
      CopiaLista(widget, controle);
    } else if (auto* marcavel = qobject_cast<QAbstractButton*>(widget); marcavel && marcavel->isCheckable()) {
      marcavel->setChecked(controle.GetCheck() == BST_CHECKED);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      // A text selected whole (the focus came by Tab) stays selected
      // whole: the next key typed replaces it. (Setting the text or the
      // limit sets the text again, which drops the selection.)
      const bool tudo = edit->hasSelectedText() && edit->selectedText() == edit->text();
      bool mudou = false;
      if (edit->text() != texto) {
        edit->setText(texto);
        mudou = true;
      }
      // Text the code set beyond the limit is not cut, as in Windows.
      const int limite = controle.GetLimitText();
      const int maximo = limite > 0 ? std::max(limite, static_cast<int>(texto.size())) : 32767;
      if (edit->maxLength() != maximo) {
        edit->setMaxLength(maximo);
        mudou = true;
      }
      if (tudo && mudou) edit->selectAll();
    } else if (auto* rotulo = qobject_cast<QLabel*>(widget)) {
      if (rotulo->text() != texto) rotulo->setText(texto);
    } else if (auto* botao = qobject_cast<QAbstractButton*>(widget)) {
      if (botao->text() != texto) botao->setText(texto);
    } else if (auto* grupo = qobject_cast<QGroupBox*>(widget)) {
      if (grupo->title() != texto) grupo->setTitle(texto);
    }
    widget->setEnabled(controle.IsWindowEnabled());
    widget->setVisible(controle.IsWindowVisible());
  }
  m_copiando = false;
}

void CJanelaDialogo::CopiaLista(QWidget* widget, const CControle& controle) {
  QStringList linhas;
  for (int i = 0; i < controle.GetCount(); ++i) linhas << ParaQt(controle.GetText(i));
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QStringList atuais;
    for (int i = 0; i < combo->count(); ++i) atuais << combo->itemText(i);
    if (atuais != linhas) {
      combo->clear();
      combo->addItems(linhas);
    }
    combo->setCurrentIndex(controle.GetCurSel());
  } else if (auto* lista = qobject_cast<QListWidget*>(widget)) {
    QStringList atuais;
    for (int i = 0; i < lista->count(); ++i) atuais << lista->item(i)->text();
    if (atuais != linhas) {
      lista->clear();
      lista->addItems(linhas);
    }
    for (int i = 0; i < lista->count(); ++i) lista->item(i)->setSelected(controle.GetSel(i));
  } else if (auto* arvore = qobject_cast<QTreeWidget*>(widget)) {
    const int colunas = std::max(1, controle.GetColumnCount());
    QStringList titulos;
    for (int c = 0; c < controle.GetColumnCount(); ++c) titulos << ParaQt(controle.GetColumnText(c));
    if (arvore->columnCount() != colunas || (!titulos.isEmpty() && arvore->headerItem()->text(0) != titulos[0])) {
      arvore->setColumnCount(colunas);
      arvore->setHeaderLabels(titulos);
      for (int c = 0; c < controle.GetColumnCount(); ++c) {
        // Widths are the window system's pixels; a column without one gets
        // the list view's default.
        arvore->setColumnWidth(c, controle.GetColumnWidth(c) < 0 ? 80 : controle.GetColumnWidth(c));
        arvore->headerItem()->setTextAlignment(c, AlinhamentoDaColuna(controle.GetColumnFormat(c)));
      }
    }
    bool iguais = arvore->topLevelItemCount() == controle.GetCount();
    for (int i = 0; iguais && i < controle.GetCount(); ++i)
      for (int c = 0; iguais && c < colunas; ++c)
        iguais = arvore->topLevelItem(i)->text(c) == ParaQt(controle.GetItemText(i, c));
    if (!iguais) {
      arvore->clear();
      for (int i = 0; i < controle.GetCount(); ++i) {
        auto* item = new QTreeWidgetItem(arvore);
        for (int c = 0; c < colunas; ++c) {
          item->setText(c, ParaQt(controle.GetItemText(i, c)));
          item->setTextAlignment(c, AlinhamentoDaColuna(controle.GetColumnFormat(c)));
        }
      }
    }
    for (int i = 0; i < arvore->topLevelItemCount(); ++i) arvore->topLevelItem(i)->setSelected(controle.GetSel(i));
  }
}

void CJanelaDialogo::reject() {
  // Esc: the Cancel command, whether or not the template has its button.
  if (m_fechando) return QDialog::reject();
  m_dialogo.Clica(IDCANCEL);
  Conclui();
}

void CJanelaDialogo::accept() {
  if (m_fechando) return QDialog::accept();
  m_dialogo.Clica(IDOK);
  Conclui();
}

bool CJanelaDialogo::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::FocusIn) {
    const auto razao = static_cast<QFocusEvent*>(evento)->reason();
    auto* edit = qobject_cast<QLineEdit*>(objeto);
    // At once, before the next key (a fast typist's or a scanner's) is
    // handled; the dialog's state copied into the edit afterwards keeps it.
    if (edit && (razao == Qt::TabFocusReason || razao == Qt::BacktabFocusReason || razao == Qt::ShortcutFocusReason))
      edit->selectAll();
  }
  return QDialog::eventFilter(objeto, evento);
}

void CJanelaDialogo::keyPressEvent(QKeyEvent* evento) {
  if (evento->key() == Qt::Key_F1) {
    m_dialogo.OnHelp();
    Conclui();
    return;
  }
  // Enter with no push button to take it is still the OK command.
  if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) && evento->modifiers() == Qt::NoModifier) {
    bool botao = false;
    for (auto* b : findChildren<QPushButton*>()) botao = botao || (b->isDefault() && b->isEnabled()) || b->hasFocus();
    if (!botao) {
      accept();
      return;
    }
  }
  QDialog::keyPressEvent(evento);
}

void CJanelaDialogo::closeEvent(QCloseEvent* evento) {
  if (m_fechando) return QDialog::closeEvent(evento);
  // The window's close box: the dialog decides.
  evento->ignore();
  m_dialogo.Fecha();
  Conclui();
}

}  // namespace qmx::ui
