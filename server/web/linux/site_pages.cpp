#include "site_pages.h"

#include <httplib.h>

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

constexpr const char* kInstaller = R"html(<!DOCTYPE html>
<html lang="fr"><head><meta charset="utf-8"><title>Zelvora — mise à jour</title></head>
<body>
<h1>Mise à jour de Zelvora</h1>
<p>Une nouvelle version de Zelvora est nécessaire pour rejoindre le réseau.</p>
<p>Ce réseau de référence n'a pas d'installateur à distribuer : reconstruisez le client depuis ses sources
(<code>tools/run-client.sh</code>), puis relancez-le.</p>
</body></html>
)html";

} // namespace

void AddSitePages(httplib::Server& server) {
    const auto page = [](const char* html) {
        return [html](const httplib::Request&, httplib::Response& response) {
            response.set_content(html, "text/html; charset=utf-8");
        };
    };
    server.Get("/FR-Zelvora.php", page(kDocumentation));
    server.Get("/installer.php", page(kInstaller));
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/FR-Zelvora.php");
    });
}

} // namespace zelvora::web
