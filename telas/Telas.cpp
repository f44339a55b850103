// qmx_telas PASTA: shows the library's dialogs as the system's dialog boxes
// (the Sintegra filter, the authorization, the branch/ECF selection) and a
// message box, saves a PNG of each in PASTA, and checks that every control
// of a dialog sits where its template puts it: the template's rectangle in
// dialog units, converted with the dialog's font (MapDialogRect), against
// the control's window. It also moves the focus and asks for help (F1) the
// way the system does, and checks that the dialogs heard it: leaving the
// selection's branch edit with no branch disables its ECF edit, and only
// the authorization asks for help (module "EC"). Prints one line per
// dialog; exit code 1 when a rectangle differs, a screen could not be
// taken, or a dialog did not hear the focus or the help request. Last, long
// work shows its progress window, whose Cancel must stop it.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogos/QMXAutorizacao.h"
#include "frame/QMXUTIL.h"
#include "plataforma/com/Apartamento.h"
#include "plataforma/ui/HostJanelas.h"
#include "plataforma/ui/ModeloDialogo.h"
#include "plataforma/ui/ModuloRecursos.h"
#include "plataforma/ui/Progresso.h"

#include <windows.h>

namespace {

std::uint32_t Crc(const unsigned char* dados, std::size_t tamanho, std::uint32_t crc = 0xFFFFFFFFu) {
  for (std::size_t i = 0; i < tamanho; ++i) {
    crc ^= dados[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void Grande(std::string& saida, std::uint32_t valor) {
  for (int deslocamento = 24; deslocamento >= 0; deslocamento -= 8)
    saida += static_cast<char>((valor >> deslocamento) & 0xFF);
}

void Pedaco(std::string& png, const char* tipo, const std::string& dados) {
  Grande(png, static_cast<std::uint32_t>(dados.size()));
  std::string corpo = std::string(tipo, 4) + dados;
  png += corpo;
  Grande(png, Crc(reinterpret_cast<const unsigned char*>(corpo.data()), corpo.size()) ^ 0xFFFFFFFFu);
}

// A PNG of 24-bit pixels (rows top to bottom, RGB), its image data in
// stored (uncompressed) deflate blocks.
std::string Png(int largura, int altura, const std::vector<unsigned char>& rgb) {
  std::string bruto;
  for (int y = 0; y < altura; ++y) {
    bruto += '\0';  // no filter
    bruto.append(reinterpret_cast<const char*>(rgb.data()) + static_cast<std::size_t>(y) * largura * 3,
                 static_cast<std::size_t>(largura) * 3);
  }
  std::string zlib = "\x78\x01";
  for (std::size_t inicio = 0; inicio < bruto.size() || inicio == 0; inicio += 65535) {
    const std::size_t parte = std::min<std::size_t>(65535, bruto.size() - inicio);
    zlib += static_cast<char>(inicio + parte >= bruto.size() ? 1 : 0);
    zlib += static_cast<char>(parte & 0xFF);
    zlib += static_cast<char>(parte >> 8);
    zlib += static_cast<char>(~parte & 0xFF);
    zlib += static_cast<char>((~parte >> 8) & 0xFF);
    zlib.append(bruto, inicio, parte);
    if (bruto.empty()) break;
  }
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : bruto) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  Grande(zlib, (b << 16) | a);
  std::string cabecalho;
  Grande(cabecalho, static_cast<std::uint32_t>(largura));
  Grande(cabecalho, static_cast<std::uint32_t>(altura));
  cabecalho += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB
  std::string png = "\x89PNG\r\n\x1a\n";
  Pedaco(png, "IHDR", cabecalho);
  Pedaco(png, "IDAT", zlib);
  Pedaco(png, "IEND", "");
  return png;
}

// The window as it is on the screen, saved as a PNG.
bool Fotografa(HWND janela, const std::string& arquivo) {
  RedrawWindow(janela, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  GetWindowRect(janela, &r);
  const int largura = r.right - r.left, altura = r.bottom - r.top;
  if (largura <= 0 || altura <= 0) return false;
  HDC tela = GetDC(nullptr);
  HDC memoria = CreateCompatibleDC(tela);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), largura, -altura, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP imagem = CreateDIBSection(tela, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ antiga = SelectObject(memoria, imagem);
  // What the screen shows there; a window the screen does not show (yet)
  // draws itself into the picture instead.
  bool copiada = BitBlt(memoria, 0, 0, largura, altura, tela, r.left, r.top, SRCCOPY) != FALSE;
  GdiFlush();
  bool preta = true;
  for (std::size_t i = 0; preta && i < static_cast<std::size_t>(largura) * altura; ++i)
    preta = (static_cast<const std::uint32_t*>(bits)[i] & 0xFFFFFFu) == 0;
  if (preta) copiada = PrintWindow(janela, memoria, 0) != FALSE;
  GdiFlush();
  std::vector<unsigned char> rgb(static_cast<std::size_t>(largura) * altura * 3);
  const auto* bgra = static_cast<const unsigned char*>(bits);
  for (std::size_t i = 0; i < static_cast<std::size_t>(largura) * altura; ++i) {
    rgb[i * 3] = bgra[i * 4 + 2];
    rgb[i * 3 + 1] = bgra[i * 4 + 1];
    rgb[i * 3 + 2] = bgra[i * 4];
  }
  SelectObject(memoria, antiga);
  DeleteObject(imagem);
  DeleteDC(memoria);
  ReleaseDC(nullptr, tela);
  if (!copiada) return false;
  FILE* saida = std::fopen(arquivo.c_str(), "wb");
  if (!saida) return false;
  const std::string png = Png(largura, altura, rgb);
  const bool gravada = std::fwrite(png.data(), 1, png.size(), saida) == png.size();
  return std::fclose(saida) == 0 && gravada;
}

// Every control with an id where its template puts it. A drop-down list's
// height is the closed field's, which the system takes from the font: only
// its position and width are compared.
int ConfereRetangulos(HWND janela, int idModelo) {
  const qmx::ui::ModeloDialogo* modelo = qmx::ui::ProcuraModelo(idModelo);
  if (!modelo) return 1;
  int diferentes = 0, conferidos = 0;
  for (const auto& controle : modelo->controles) {
    if (controle.id == -1) continue;
    HWND filho = GetDlgItem(janela, controle.id);
    if (!filho) {
      std::printf("  controle %d: ausente\n", controle.id);
      ++diferentes;
      continue;
    }
    // The system converts position and size each on its own, as it makes
    // the control: the far edges are position plus converted size.
    RECT esperado{controle.retangulo.x, controle.retangulo.y, controle.retangulo.largura, controle.retangulo.altura};
    MapDialogRect(janela, &esperado);
    esperado.right += esperado.left;
    esperado.bottom += esperado.top;
    RECT real{};
    GetWindowRect(filho, &real);
    MapWindowPoints(nullptr, janela, reinterpret_cast<POINT*>(&real), 2);
    const bool combo = controle.classe == "ComboBox";
    const bool igual = real.left == esperado.left && real.top == esperado.top && real.right == esperado.right &&
                       (combo || real.bottom == esperado.bottom);
    ++conferidos;
    if (!igual) {
      ++diferentes;
      std::printf("  controle %d: esperado (%ld,%ld)-(%ld,%ld), na tela (%ld,%ld)-(%ld,%ld)\n", controle.id,
                  esperado.left, esperado.top, esperado.right, esperado.bottom, real.left, real.top, real.right,
                  real.bottom);
    }
  }
  std::printf("diálogo %d: %d controles conferidos, %d diferentes\n", idModelo, conferidos, diferentes);
  return diferentes;
}

// Leaving the branch edit, with no branch in it (there is no company here),
// disables the ECF edit: the focus as the system moves it reached the
// dialog, and the dialog's answer reached the controls.
bool ConfereFoco(HWND janela) {
  HWND filial = GetDlgItem(janela, 13036), ecf = GetDlgItem(janela, 13035);
  const bool antes = IsWindowEnabled(ecf) != FALSE;
  SetFocus(filial);
  SetFocus(ecf);
  const bool depois = IsWindowEnabled(ecf) != FALSE;
  std::printf("diálogo 14027: edit do ECF %s antes, %s depois de o foco sair da filial\n",
              antes ? "habilitado" : "desabilitado", depois ? "habilitado" : "desabilitado");
  return antes && !depois;
}

}  // namespace

int main(int argc, char** argv) {
  qmx::com::CApartamentoCOM apartamento;  // as the point-of-sale program does
  const std::string pasta = argc > 1 ? argv[1] : ".";
  int falhas = 0;
  qmx::ui::HostJanelas host;
  host.aoMostrar = [&](void* janela, qmx::ui::CDialogo& dialogo) {
    const HWND hwnd = static_cast<HWND>(janela);
    const std::string arquivo = pasta + "\\dialogo-" + std::to_string(dialogo.IdModelo()) + ".png";
    if (!Fotografa(hwnd, arquivo)) {
      std::printf("diálogo %d: a tela não foi tirada\n", dialogo.IdModelo());
      ++falhas;
    }
    falhas += ConfereRetangulos(hwnd, dialogo.IdModelo()) ? 1 : 0;
    if (dialogo.IdModelo() == 14027 && !ConfereFoco(hwnd)) ++falhas;
    HELPINFO ajuda{sizeof ajuda, HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
    SendMessageW(hwnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&ajuda));  // what F1 sends
    if (dialogo.Aberto()) dialogo.Clica(IDCANCEL);
  };
  std::vector<std::string> ajudas;
  host.aoAbrirAjuda = [&](const std::string& modulo) { ajudas.push_back(modulo); };
  int caixas = 0;
  host.aoMostrarCaixa = [&](void* janela) {
    const HWND hwnd = static_cast<HWND>(janela);
    char texto[512] = {};
    GetDlgItemTextA(hwnd, 0xFFFF, texto, sizeof texto);  // the box's text
    const std::string arquivo = pasta + "\\caixa-" + std::to_string(++caixas) + ".png";
    if (!Fotografa(hwnd, arquivo)) {
      std::printf("caixa %d: a tela não foi tirada\n", caixas);
      ++falhas;
    } else {
      std::printf("caixa %d: \"%s\"\n", caixas, texto);
    }
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
  };
  qmx::ui::DefineHost(&host);

  QMX_Inicializa("", 1, 0);
  QMX_Sintegra();
  CQMXAutorizacao autorizacao;
  autorizacao.DoModal();
  std::uint16_t ecf = 0;
  const char* titulo = "Seleção de ECF";
  QMX_SetFilial(1, 0, titulo);
  QMX_GetEmissora(&ecf);
  qmx::ui::CaixaMensagem("Arquivo gerado em\r\nC:\\Torvo\\Arquivos-Eletronicos\\exemplo.txt", "Torvo ECF",
                         MB_OK | MB_ICONINFORMATION);
  // Long work in its progress window, stopped with its Cancel.
  host.aoMostrarProgresso = [&](void* janela) {
    const HWND hwnd = static_cast<HWND>(janela);
    if (!Fotografa(hwnd, pasta + "\\progresso.png")) {
      std::printf("progresso: a tela não foi tirada\n");
      ++falhas;
    }
    SendMessageW(GetDlgItem(hwnd, IDCANCEL), BM_CLICK, 0, 0);
  };
  qmx::ui::CProgresso::DefineIntervalo(std::chrono::milliseconds(0));
  int passos = 0;
  try {
    qmx::ui::CProgresso progresso("Torvo ECF - Arquivo Eletrônico Sintegra", qmx::ui::CProgresso::Unidade::Cupons,
                                  1000);
    for (; passos < 1000; ++passos) progresso.Avanca();
  } catch (const qmx::processo::CTrabalhoCancelado&) {
    std::printf("progresso: cancelado depois de %d de 1000 passos\n", passos);
  }
  if (passos >= 1000) {
    std::printf("progresso: o Cancelar da janela não parou o trabalho\n");
    ++falhas;
  }
  qmx::ui::DefineHost(nullptr);
  std::printf("ajuda pedida por %zu diálogo(s):", ajudas.size());
  for (const auto& modulo : ajudas) std::printf(" %s", modulo.c_str());
  std::printf("\n");
  if (ajudas != std::vector<std::string>{"EC"}) ++falhas;
  return falhas == 0 ? 0 : 1;
}
