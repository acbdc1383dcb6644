#pragma once

// Every text the user reads or hears, in UTF-8, named by what it says. Win32 calls get them converted to wide
// characters; the synthesiser link converts spoken texts to its own code page.

// Channels 0 to 10, as the channel panel names them.
inline constexpr const char* kChannelNames[] = {
    "Bienvenue",       "Accueil Général",    "Place du village",   "Zone Technologie",
    "Les Ondes Radio", "Au café de la gare", "Evasion et camping", "La bonne ambiance",
    "Entre copines",   "Musique en stéréo",  "Tests divers",
};

// Help banner and spoken help.
inline constexpr char kWelcomeToTheNetwork[] = "Bienvenue sur le réseau Zelvora de téléphonie de loisir";
inline constexpr char kClickNetworkToSeeMembers[] = "Cliquez sur NETWORK pour voir les correspondants";
inline constexpr char kClickFrameToSeeAllGroups[] = "Cliquez dans ce cadre pour voir tous les groupes";
inline constexpr char kClickIconToOpenDocumentation[] = "Cliquez sur cette icon pour ouvrir la documentation";
inline constexpr char kClickAnimationToOpenSharedImage[] =
    "Cliquez sur cette animation pour ouvrir l'image partagée";
inline constexpr char kClickAnimationToOpenOrSendSharedImage[] =
    "Cliquez sur cette animation pour ouvrir ou envoyer une image partagée";
inline constexpr char kClickForTheDesigner[] = "Cliquez ici pour plus d'information sur le concepteur";
inline constexpr char kClickToActivateVoiceHelp[] = "Cliquez ici pour activer l'aide vocale";
inline constexpr char kClickToMoveTheWindow[] = "Cliquez ici pour déplacer la fenêtre Zelvora";
inline constexpr char kClickAroundToSetVolume[] = "Cliquez autour de ce bouton pour régler le volume sonore";
inline constexpr char kClickAroundToSetMicrophoneLevel[] =
    "Cliquez autour de ce bouton pour régler le niveau d'entrée du microphone";
inline constexpr char kClickToOpenYourSettings[] =
    "Cliquez sur ce bouton pour accéder à vos paramètres de réglage";
inline constexpr char kTimeLeftBeforeClosing[] =
    "Indique le temps restant avant fermeture si aucune activité";
inline constexpr char kNothingSpecialHere[] = "Il n'y a rien de spécial ici";
inline constexpr char kSynthesiserGreeting[] =
    "Bonjour. Le synthétiseur est actif. Sur la clé droite de la souris";

// The synthesiser's start and stop, on the status line.
inline constexpr char kProgramFilesNotFound[] = "Impossible de trouver Program Files";
inline constexpr char kSynthesiserClosing[] = "Le synthétiseur se ferme ou va se fermer";
inline constexpr char kSynthesiserNotStarted[] = "Le synthétiseur n'a pas pu être lancé";
inline constexpr char kSynthesiserStarted[] = "Le synthétiseur est lancé";

// The main window's panel labels.
inline constexpr char kNetworkLabel[] = "NETWORK";
inline constexpr char kTimeLeftLabel[] = "TIME LEFT";
inline constexpr char kErrorLevelLabel[] = "ERROR LEVEL";
inline constexpr char kChannelLabel[] = "CHANNEL";
inline constexpr char kAudioLeftLabel[] = "AUDIO LEFT";
inline constexpr char kAudioRightLabel[] = "AUDIO RIGHT";
inline constexpr char kParamsLabel[] = "PARAMS";
inline constexpr char kMicGainLabel[] = "MIC GAIN";
inline constexpr char kVolumeLabel[] = "VOLUME";
inline constexpr char kTstLabel[] = "TST";
inline constexpr char kHttpsLabel[] = "HTTPS";
inline constexpr char kTxRxLabel[] = "TX-RX";
inline constexpr char kUdpLabel[] = "UDP";
inline constexpr char kSvcLabel[] = "SVC";
inline constexpr char kTcpLabel[] = "TCP";

// The main window's own texts.
inline constexpr char kMainWindowTitle[] = "ZELVORA";
inline constexpr char kAboutZelvora[] = "À propos de Zelvora";
inline constexpr char kKeyboardInfo[] = "Info Clavier";
inline constexpr char kKeyIsInactive[] = "Désolé.\nCette touche est inactive !";

// Start-up.
inline constexpr char kZelvoraSystem[] = "Zelvora System";
inline constexpr char kAlreadyRunning[] = "Another instance of application Zelvora\nis already running.\n"
                                          "Une autre instance de l’application Zelvora\nest déjà en cours "
                                          "d’exécution.\n";
inline constexpr char kError[] = "Erreur";
inline constexpr char kChimeNotPlayed[] = "Échec de la lecture du son";
inline constexpr char kProgramStopsForMissingNamedFile[] =
    "Le programme va s'arrêter\ncar il manque le fichier\nREF: ";
inline constexpr char kDocumentationImageReference[] = "DOC-IMG";
inline constexpr char kSynthesiserImageReference[] = "SYNTHE-IMG";
inline constexpr char kChannelImageReference[] = "CHANNEL-NUM";
inline constexpr char kProgramStopsForMissingFile[] =
    "Le programme va s'arrêter\ncar il manque un fichier\nREF: ";
inline constexpr char kAnimationFileMissing[] =
    "Il manque un fichier *.gif dans\nl’installation de Zelvora\nL’application Zelvora va\nêtre stopper. "
    "Cliquez sur OK\n";

// The account's parameters.
inline constexpr char kParametersAcquisition[] = "Acquisition des paramètres";
inline constexpr char kNoParametersOnAccount[] =
    "Aucun paramètre n'a été trouvé sur votre compte\nles paramètres par défaut seront utilisés.";

// The supervisor's notices and the inactivity countdown.
inline constexpr char kSupervisorInfo[] = "Info du Superviseur";
inline constexpr char kApplicationMustBeUpdated[] = "Votre application doit être mise à jour";
inline constexpr char kSupervisorClosesIn20Seconds[] =
    "Le superviseur va fermer\nautomatiquement votre application\ndans 20 secondes";
inline constexpr char kInactivityTimeIsOver[] = "Le délais d'utilisation sans activité est terminé\n"
                                                "Le superviseur va maintenant fermer\n"
                                                "automatiquement votre application\n"
                                                "dans 20 secondes";

// Sound devices.
inline constexpr char kWindowsDriver[] = "Windows Driver";
inline constexpr char kEndpointNotFound[] = "Non trouvée";
inline constexpr char kInputDeviceTitle[] = "Zelvora Input device";
inline constexpr char kDeviceIndexNotFound[] = "Impossible de trouver l'index du périphérique !";
inline constexpr char kErrorInEnglish[] = "Error";
inline constexpr char kWindowsSystemError[] = "Erreur Système Windows";
inline constexpr char kWindowsSystemProblemWithCode[] =
    "Windows semble avoir un problème système !\nCode d'erreur : %d";
inline constexpr char kProblemIdentification[] = "Identification du problème";
inline constexpr char kCaptureDeviceDidNotOpen[] =
    "Erreur d'ouverture du périphérique d'enregistrement.\nLe driver d'enregistrement est défectueux ou "
    "incompatible\nZelvora ne pourra fonctionner qu'en mode écoute.\nLe programme va s'arrêté "
    "automatiquement.";
inline constexpr char kPlaybackDeviceDidNotOpen[] =
    "Erreur d'ouverture du périphérique de lecture.\nLe driver de lecture est défectueux ou "
    "incompatible\nZelvora "
    "ne pourra pas fonctionner en mode écoute.\nLe programme va s'arrêté automatiquement.";

// The web service's windows.
inline constexpr char kNetworkWindowTitle[] = "Zelvora Network";
inline constexpr char kGroupListTitle[] = "Zelvora Group List";
inline constexpr char kDoNotLeaveThisWindowOpen[] = "Ne pas laisser cette fenêtre longtemps ouverte";
inline constexpr char kItUsesMuchNetwork[] = "car elle consomme beaucoup de ressources réseau";
inline constexpr char kCanvasTitle[] = "Zelvora Echange et Partage";
inline constexpr char kWarning[] = "Avertissement";
inline constexpr char kChosenFileDidNotOpen[] = "Impossible d'ouvrir le fichier choisi.";
inline constexpr char kChosenPathTooLong[] =
    "Le chemin ou le nom du fichier choisi est trop long.\nMaximum = 199 octets pour le chemin";
inline constexpr char kFileLargerThanBufferWithMaximum[] =
    "Fichier superieur a la taille maximale du buffer\nMaximum = % ld octets";

// The parameters window.
inline constexpr char kParamsTitle[] = "Zelvora Params";
inline constexpr char kOutputDeviceLabel[] = "OUTPUT DEVICE";
inline constexpr char kDefaultInputDeviceLine[] = "INPUT DEVICE (Default)";
inline constexpr char kInputDeviceLineWithNumber[] = "INPUT DEVICE (%ld)          ";
