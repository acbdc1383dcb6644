#include "site_pages.h"

#include <httplib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace zelvora::web {
namespace {

constexpr const char* kDocumentation = R"html(<!DOCTYPE html>
<html lang="fr"><head><meta charset="utf-8"><title>Zelvora — mode d'emploi</title></head>
<body>
<h1>Zelvora — mode d'emploi</h1>
<p>Zelvora relie des ordinateurs de particuliers qui se parlent à tour de rôle, comme sur une fréquence
radioamateur : une seule personne parle à la fois sur chacun des onze canaux.</p>
<h2>Parler et écouter</h2>
<ul>
<li>Maintenez la barre d'espace (ou la touche de l'accessoire USB) pour parler ; relâchez-la pour écouter.</li>
<li>Les touches 0 à 9 choisissent les canaux 0 à 9, la touche + du pavé numérique le canal 10,
« Tests divers », qui vous fait réentendre votre voix après que vous avez relâché la touche.</li>
<li>Quand quelqu'un parle, sa photo, son prénom, sa ville et sa phrase d'accueil s'affichent.</li>
</ul>
<h2>Fenêtres</h2>
<ul>
<li>Le bouton PARAMS ouvre les paramètres : périphériques audio, vos informations et la couleur de fond,
enregistrée sur votre compte.</li>
<li>Le panneau des canaux ouvre la liste des groupes ; l'animation ouvre l'image partagée du canal.</li>
<li>Le clic droit sur une zone fait lire son aide par le synthétiseur vocal.</li>
</ul>
<p>Échap ou la croix ferme Zelvora.</p>
</body></html>
)html";

constexpr const char* kNoSetupProgram = R"html(<!DOCTYPE html>
<html lang="fr"><head><meta charset="utf-8"><title>Zelvora — mise à jour</title></head>
<body>
<h1>Mise à jour de Zelvora</h1>
<p>Aucun programme d'installation n'est disponible sur ce site pour le moment. Réessayez plus tard.</p>
</body></html>
)html";

// Far above the setup program's size; a bound on what one request makes the site read into memory.
constexpr std::uintmax_t kMaxSetupProgramBytes = 64 * 1024 * 1024;

// The file's bytes; empty when it is missing, empty or too large, or changed size while being read.
std::string ReadSetupProgram(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = path.empty() ? 0 : std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxSetupProgramBytes) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::ifstream file(path, std::ios::binary);
    file.read(bytes.data(), static_cast<std::streamsize>(size));
    if (!file || file.peek() != std::ifstream::traits_type::eof()) {
        return {};
    }
    return bytes;
}

void ServeSetupProgram(const std::string& path, httplib::Response& response) {
    std::string bytes = ReadSetupProgram(path);
    if (bytes.empty()) {
        response.status = 404;
        response.set_content(kNoSetupProgram, "text/html; charset=utf-8");
        return;
    }
    const std::string name = std::filesystem::path(path).filename().string();
    response.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    response.set_content(std::move(bytes), "application/octet-stream");
}

} // namespace

void AddSitePages(httplib::Server& server, const std::string& setupProgram) {
    const auto page = [](const char* html) {
        return [html](const httplib::Request&, httplib::Response& response) {
            response.set_content(html, "text/html; charset=utf-8");
        };
    };
    server.Get("/FR-Zelvora.php", page(kDocumentation));
    server.Get("/installer.php", [setupProgram](const httplib::Request&, httplib::Response& response) {
        ServeSetupProgram(setupProgram, response);
    });
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/FR-Zelvora.php");
    });
}

} // namespace zelvora::web
