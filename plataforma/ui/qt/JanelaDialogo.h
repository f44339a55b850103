#pragma once

#include <map>
#include <string>

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>

#include "plataforma/ui/ModeloDialogo.h"

class QLabel;
class QWidget;

namespace qmx::ui {

class CDialogo;
class CControle;
class HostQt;

// A library text (Windows-1252) as Qt shows it.
QString ParaQt(const std::string& cp1252);

// The font dialogs are drawn with, and what one dialog unit is in pixels
// with it: a quarter of the font's average character width across, an
// eighth of its height down, as the Windows dialog manager measures them.
struct UnidadesDialogo {
  QFont fonte;
  int baseX = 0;
  int baseY = 0;

  static UnidadesDialogo DaFonte(const QFont& fonte);
  QRect EmPixels(const Retangulo& retangulo) const;
};

// One running dialog as a Qt window: its controls built from the
// template, in template order (which is also the Tab order of the controls
// with a tab stop), each holding its id. The operator's actions go to the
// dialog object, and after each one the dialog gets its idle time and the
// window shows the dialog's state again.
class CJanelaDialogo : public QDialog {
 public:
  CJanelaDialogo(CDialogo& dialogo, const ModeloDialogo& modelo, QWidget* pai);

  // Called once the dialog object ran OnInitDialog: shows its state and
  // puts the focus where it asked; closes at once if it ended there.
  void Comeca();
  // The widget of a control id (null for ids the template lacks).
  QWidget* Controle(int id) const;
  const UnidadesDialogo& Unidades() const { return m_unidades; }

  void reject() override;  // Esc
  void accept() override;

 protected:
  // An edit the focus enters by Tab selects its whole text, as Windows
  // does, so that what is typed replaces it.
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void CriaControle(const ModeloControle& modelo);
  void Liga(QWidget* widget, int id);
  // After an action of the operator: idle time, then the model's state.
  void Conclui();
  void Copia();
  void CopiaLista(QWidget* widget, const CControle& controle);
  void SincronizaFoco();
  void FocoMudou(QWidget* agora);
  int IdDe(QWidget* widget) const;

  CDialogo& m_dialogo;
  UnidadesDialogo m_unidades;
  std::map<int, QWidget*> m_controles;
  bool m_copiando = false;  // the window's own updates notify too
  bool m_fechando = false;
  // A text whose "&" letter (Alt+letter) takes the focus to the control
  // made next with a tab stop, as Windows' dialogs do.
  QLabel* m_rotuloComAtalho = nullptr;
};

}  // namespace qmx::ui
