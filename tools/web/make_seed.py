#!/usr/bin/python3
"""Usage: make_seed.py OUTDIR

Writes the reference web service's seed folder: members.tsv (the simulated members the operator's `speak`
command makes talk), their portraits pictures/<account>.png, the accessory's three USB icons and channel 1's
shared image shared/1.jpg, all drawn here with Pillow so that the pictures are our own. The output is the same on every run."""

import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

# Short texts: the client paints the first name and town on a 300-pixel band, the phrase on a 260-pixel strip.
# account, first name, town, greeting phrase, day, e-mail, folder, background (COLORREF, hex BBGGRR)
MEMBERS = [
    (101, "Amélie", "Besançon", "Bonjour à tous !", "14/03/2019",
     "amelie.roussel@exemple.fr", "amelie", "6B3A1F"),
    (102, "Jérôme", "Orléans", "Belle journée à vous.", "02/09/2020",
     "jerome.lefevre@exemple.fr", "jerome", "1F4A2E"),
    (103, "Hélène", "Nîmes", "Le café est prêt ?", "21/06/2018",
     "helene.garnier@exemple.fr", "helene", "3A1F6B"),
    (104, "François", "Saint-Étienne", "Bien reçu, à vous.", "11/11/2021",
     "francois.mercier@exemple.fr", "francois", "2E2E2E"),
    (105, "Éloïse", "Sète", "Bonsoir le canal !", "30/01/2022",
     "eloise.bonnet@exemple.fr", "eloise", "6B1F4A"),
]

PORTRAIT_SIZE = (120, 150)
# Per member: backdrop, skin, hair, clothes.
PALETTES = {
    101: ((250, 214, 165), (241, 194, 150), (139, 69, 19), (46, 117, 182)),
    102: ((176, 224, 230), (224, 172, 105), (40, 40, 40), (178, 34, 34)),
    103: ((221, 204, 255), (255, 219, 172), (205, 133, 63), (34, 139, 34)),
    104: ((200, 230, 201), (198, 134, 66), (90, 90, 90), (72, 61, 139)),
    105: ((255, 228, 225), (255, 224, 189), (30, 30, 30), (255, 140, 0)),
}
FONT = Path("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf")


def font(size):
    return ImageFont.truetype(str(FONT), size) if FONT.is_file() else ImageFont.load_default()


def portrait(account, first_name):
    backdrop, skin, hair, clothes = PALETTES[account]
    width, height = PORTRAIT_SIZE
    image = Image.new("RGB", PORTRAIT_SIZE, backdrop)
    draw = ImageDraw.Draw(image)
    # Shoulders, neck, hair behind the face, the face, then eyes and a smile.
    draw.ellipse((10, 105, width - 10, height + 60), fill=clothes)
    draw.rectangle((50, 85, 70, 110), fill=skin)
    draw.ellipse((28, 18, 92, 92), fill=hair)
    draw.ellipse((34, 30, 86, 98), fill=skin)
    draw.pieslice((30, 16, 90, 60), 180, 360, fill=hair)
    for x in (48, 72):
        draw.ellipse((x - 4, 56, x + 4, 64), fill=(255, 255, 255))
        draw.ellipse((x - 2, 58, x + 2, 62), fill=(30, 30, 30))
    draw.arc((48, 66, 72, 86), 20, 160, fill=(150, 40, 40), width=2)
    draw.text((width // 2, height - 14), first_name, fill=(255, 255, 255), font=font(14), anchor="mm")
    return image


def usb_icon(colour):
    """A 32 x 32 USB plug on transparency, in one colour."""
    image = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rectangle((12, 2, 19, 9), outline=colour, width=2)
    draw.rectangle((9, 9, 22, 20), fill=colour)
    draw.rectangle((14, 20, 17, 28), fill=colour)
    draw.ellipse((12, 26, 19, 31), fill=colour)
    return image


def shared_image():
    """Channel 1's shared image: a JPEG, so that the canvas shows a picture that is not a PNG."""
    width, height = 480, 320
    image = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(image)
    for y in range(height):
        # Evening sky fading into the sea.
        t = y / height
        draw.line((0, y, width, y), fill=(int(250 - 120 * t), int(160 - 60 * t), int(90 + 120 * t)))
    draw.ellipse((300, 120, 380, 200), fill=(255, 230, 120))
    draw.rectangle((0, 200, width, height), fill=(30, 70, 130))
    for x in range(0, width, 40):
        draw.arc((x, 215, x + 40, 235), 200, 340, fill=(200, 220, 255), width=2)
    draw.text((width // 2, 40), "Canal 1 : coucher de soleil à Sète", fill=(255, 255, 255), font=font(24),
              anchor="mm")
    return image


def write_members(path):
    lines = ["# account\tprenom\tville\tphrase\tjour\temail\tfolder\tbackground (BBGGRR or -)"]
    lines += ["\t".join(str(field) for field in member) for member in MEMBERS]
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = Path(sys.argv[1])
    (out / "pictures").mkdir(parents=True, exist_ok=True)
    for account, first_name, *_ in MEMBERS:
        portrait(account, first_name).save(out / "pictures" / f"{account}.png", optimize=True)
    for state, colour in (("black", (0, 0, 0, 255)), ("green", (0, 170, 0, 255)), ("red", (220, 0, 0, 255))):
        usb_icon(colour).save(out / f"usb_{state}.png", optimize=True)
    (out / "shared").mkdir(exist_ok=True)
    shared_image().save(out / "shared" / "1.jpg", quality=85)
    write_members(out / "members.tsv")


if __name__ == "__main__":
    main()
