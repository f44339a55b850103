#include "plataforma/ui/ModuloRecursos.h"

#include <vector>

#include "plataforma/ui/ModelosEmbutidos.h"

namespace qmx::ui {
namespace {

struct EstadoRecursos {
  ModuloRecursos* atual = nullptr;
  std::vector<ModuloRecursos*> cadeia;
};

EstadoRecursos& Estado() {
  static EstadoRecursos estado;
  return estado;
}

}  // namespace

ModuloRecursos::ModuloRecursos(std::string nome) : m_nome(std::move(nome)) {}

void ModuloRecursos::AdicionaModelos(std::string_view textoRecursos) {
  for (auto& modelo : ModeloDialogo::Analisa(textoRecursos)) AdicionaModelo(std::move(modelo));
}

void ModuloRecursos::AdicionaModelo(ModeloDialogo modelo) {
  const int id = modelo.id;
  m_modelos.insert_or_assign(id, std::move(modelo));
}

const ModeloDialogo* ModuloRecursos::Modelo(int id) const {
  const auto it = m_modelos.find(id);
  return it == m_modelos.end() ? nullptr : &it->second;
}

ModuloRecursos& ModuloPrograma() {
  static ModuloRecursos programa("programa");
  return programa;
}

ModuloRecursos& ModuloBiblioteca() {
  static ModuloRecursos& biblioteca = [&]() -> ModuloRecursos& {
    static ModuloRecursos modulo("QMXUTIL.DLL");
    for (const char* const* texto = kModelosEmbutidos; *texto; ++texto) modulo.AdicionaModelos(*texto);
    RegistraNaCadeia(modulo);
    return modulo;
  }();
  return biblioteca;
}

ModuloRecursos& RecursoAtual() {
  auto& estado = Estado();
  return estado.atual ? *estado.atual : ModuloPrograma();
}

void DefineRecursoAtual(ModuloRecursos& modulo) { Estado().atual = &modulo; }

void RegistraNaCadeia(ModuloRecursos& modulo) {
  auto& cadeia = Estado().cadeia;
  for (auto* existente : cadeia)
    if (existente == &modulo) return;
  cadeia.push_back(&modulo);
}

const ModeloDialogo* ProcuraModelo(int id) {
  if (const auto* modelo = RecursoAtual().Modelo(id)) return modelo;
  for (auto* modulo : Estado().cadeia)
    if (const auto* modelo = modulo->Modelo(id)) return modelo;
  return nullptr;
}

TrocaRecursos::TrocaRecursos(ModuloRecursos& modulo) : m_anterior(&RecursoAtual()) {
  DefineRecursoAtual(modulo);
}

TrocaRecursos::~TrocaRecursos() { DefineRecursoAtual(*m_anterior); }

}  // namespace qmx::ui
