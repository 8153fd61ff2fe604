#!/usr/bin/env python3
"""Writes the hand-made maps the TMX reader is checked with, and the fuzz seeds.

The compressed layers cannot be typed by hand, so every map is generated here;
the output is committed and this script only needs running after a change.
Needs the `zstd` command.
"""

import base64
import gzip
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")

FLIP_H = 0x80000000
FLIP_V = 0x40000000
FLIP_D = 0x20000000
ROTATE_HEX = 0x10000000

# Splits a fuzz input into the map and the files it refers to; must match
# fuzz/TmxFuzzInput.h.
FUZZ_SEPARATOR = "\n@@kuroshin-file@@\n"


def write(path, data):
    path = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path, mode) as out:
        out.write(data)


def png(width, height):
    """A grey-and-ink chequer, enough for Tiled to load and measure."""
    rows = b""
    for y in range(height):
        rows += b"\0" + bytes(40 if (x // 4 + y // 4) % 2 else 200 for x in range(width))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def zstd(data):
    return subprocess.run(["zstd", "-q", "-c", "-19"], input=data, check=True,
                          stdout=subprocess.PIPE).stdout


WIDTH, HEIGHT = 6, 4

# Ground of the first tileset (gids 1..8) with flipped and rotated cells, and a
# few cells of the external one (from gid 9).
GROUND = [
    0, 0, 0, 0, 9 | FLIP_H, 10,
    0, 1, 2, 0, 0, 0,
    3 | FLIP_V, 4 | FLIP_D, 5 | FLIP_H | FLIP_V | FLIP_D, 6, 7, 8 | ROTATE_HEX,
    1, 1, 2 | FLIP_H, 2, 16, 15,
]
DECOR = [0] * 18 + [11, 12 | FLIP_V, 0, 0, 0, 13]

EMBEDDED_TILESET = """\
 <tileset firstgid="1" name="ground" tilewidth="16" tileheight="16" spacing="2" margin="1" tilecount="8" columns="4">
  <image source="images/ground.png" width="72" height="36"/>
  <tile id="0">
   <properties>
    <property name="solid" type="bool" value="true"/>
   </properties>
  </tile>
  <tile id="5">
   <properties>
    <property name="kind" value="spikes"/>
    <property name="damage" type="int" value="3"/>
   </properties>
  </tile>
 </tileset>
"""

EXTERNAL_TILESET_REF = ' <tileset firstgid="9" source="tilesets/ink.tsx"/>\n'

INK_TSX = """\
<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" tiledversion="1.8.2" name="ink" tilewidth="8" tileheight="8" tilecount="8" columns="4">
 <properties>
  <property name="style" value="dusk"/>
 </properties>
 <image source="art/ink.png" width="32" height="16"/>
 <tile id="2">
  <properties>
   <property name="friction" type="float" value="0.25"/>
  </properties>
 </tile>
 <tile id="7">
  <properties>
   <property name="note" value="last&#10;of the sheet"/>
  </properties>
 </tile>
</tileset>
"""

MAP_PROPERTIES = """\
 <properties>
  <property name="gravity" type="float" value="9.5"/>
  <property name="lives" type="int" value="3"/>
  <property name="music" value="Audio/dusk.ogg"/>
  <property name="night" type="bool" value="false"/>
  <property name="story">The ink runs
down the hill,
  and the night with it.</property>
 </properties>
"""


def header(properties=MAP_PROPERTIES, tilesets=EMBEDDED_TILESET + EXTERNAL_TILESET_REF):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<map version="1.8" tiledversion="1.8.2" orientation="orthogonal" '
            f'renderorder="right-down" width="{WIDTH}" height="{HEIGHT}" tilewidth="16" '
            f'tileheight="16" infinite="0" nextlayerid="9" nextobjectid="20">\n'
            + properties + tilesets)


def packed(gids):
    return b"".join(struct.pack("<I", g) for g in gids)


def data_element(gids, encoding):
    if encoding == "xml":
        return "  <data>\n" + "".join(f'   <tile gid="{g}"/>\n' if g else "   <tile/>\n"
                                      for g in gids) + "  </data>\n"
    if encoding == "csv":
        rows = [",".join(str(g) for g in gids[r * WIDTH:(r + 1) * WIDTH])
                for r in range(HEIGHT)]
        return '  <data encoding="csv">\n' + ",\n".join(rows) + "\n</data>\n"
    raw = packed(gids)
    compress = {
        "base64": (None, lambda b: b),
        "zlib": ("zlib", lambda b: zlib.compress(b, 9)),
        "gzip": ("gzip", lambda b: gzip.compress(b, 9, mtime=0)),
        "zstd": ("zstd", zstd),
    }[encoding]
    attribute = f' compression="{compress[0]}"' if compress[0] else ""
    text = base64.b64encode(compress[1](raw)).decode()
    return f'  <data encoding="base64"{attribute}>\n   {text}\n  </data>\n'


def tile_layer(layer_id, name, gids, encoding, properties=""):
    return (f' <layer id="{layer_id}" name="{name}" width="{WIDTH}" height="{HEIGHT}">\n'
            + properties + data_element(gids, encoding) + " </layer>\n")


def layer_map(encoding):
    layer_properties = ("  <properties>\n"
                        f'   <property name="encoding" value="{encoding}"/>\n'
                        '   <property name="parallax" type="float" value="-0.5"/>\n'
                        "  </properties>\n")
    return (header() + tile_layer(1, "ground", GROUND, encoding, layer_properties) +
            tile_layer(2, "decor", DECOR, encoding) + "</map>\n")


COIN_TX = """\
<?xml version="1.0" encoding="UTF-8"?>
<template>
 <tileset firstgid="1" source="../tilesets/ink.tsx"/>
 <object name="coin" type="Coin" gid="4" width="8" height="8">
  <properties>
   <property name="value" type="int" value="10"/>
   <property name="sound" value="coin.wav"/>
  </properties>
 </object>
</template>
"""

WALL_TX = """\
<?xml version="1.0" encoding="UTF-8"?>
<template>
 <object name="wall" type="Solid" width="32" height="48">
  <properties>
   <property name="breakable" type="bool" value="false"/>
  </properties>
 </object>
</template>
"""

OBJECTS_TMX = header() + tile_layer(1, "ground", GROUND, "csv") + """\
 <objectgroup id="2" name="things">
  <properties>
   <property name="z" type="int" value="-2"/>
  </properties>
  <object id="1" name="start" type="Spawn" x="24" y="40.5"/>
  <object id="2" name="door" type="Exit" x="80" y="16" width="16" height="32">
   <properties>
    <property name="target" value="Levels/hill2.tmx"/>
    <property name="delay" type="float" value="1.75"/>
    <property name="keys" type="int" value="-2"/>
   </properties>
  </object>
  <object id="3" name="rope" type="Path" x="10" y="12">
   <polyline points="0,0 16.5,-4 32,8.25 48,0"/>
  </object>
  <object id="4" name="lamp" type="Light" gid="6" x="48" y="64" width="16" height="16"/>
  <object id="5" name="crow" gid="2147483655" x="64.25" y="48" width="32" height="32">
   <properties>
    <property name="speech">Caw.
Caw!</property>
   </properties>
  </object>
  <object id="6" template="templates/coin.tx" x="8" y="8"/>
  <object id="7" name="gold" template="templates/coin.tx" x="16" y="8">
   <properties>
    <property name="value" type="int" value="50"/>
   </properties>
  </object>
  <object id="8" template="templates/wall.tx" x="0" y="0" width="16" height="24"/>
 </objectgroup>
 <objectgroup id="3" name="empty"/>
 <layer id="4" name="front" width="6" height="4">
""" + data_element(DECOR, "zlib") + """\
 </layer>
 <objectgroup id="5" name="paths">
  <object id="9" name="loop" x="0.5" y="0.5" rotation="0">
   <polyline points="0,0 8,0 8,8 0,8 0,0"/>
  </object>
  <object id="10" name="ink.tile" gid="15" x="40" y="24" width="8" height="8"/>
 </objectgroup>
</map>
"""

# Tiled 1.8 cannot read "class", so this map is checked against values
# written down by hand in the cross-check test, not against Tiled.
CLASS_TMX = """\
<?xml version="1.0" encoding="UTF-8"?>
<map version="1.9" tiledversion="1.9.2" orientation="orthogonal" renderorder="right-down" width="2" height="2" tilewidth="16" tileheight="16" infinite="0" nextlayerid="3" nextobjectid="4">
 <layer id="1" name="ground" width="2" height="2">
  <data encoding="csv">
0,0,
0,0
</data>
 </layer>
 <objectgroup id="2" name="things">
  <object id="1" name="old" type="Crate" x="0" y="0" width="16" height="16"/>
  <object id="2" name="new" class="Spikes" x="16" y="0" width="16" height="16"/>
  <object id="3" name="plain" x="0" y="16"/>
 </objectgroup>
</map>
"""


def fuzz_seed(map_text, *files):
    """The map followed by the files its resolver should serve, by name."""
    seed = map_text
    for name, text in files:
        seed += FUZZ_SEPARATOR + name + "\n" + text
    return seed


def main():
    write("images/ground.png", png(72, 36))
    write("tilesets/art/ink.png", png(32, 16))
    write("tilesets/ink.tsx", INK_TSX)
    write("templates/coin.tx", COIN_TX)
    write("templates/wall.tx", WALL_TX)
    encodings = ["xml", "csv", "base64", "zlib", "gzip", "zstd"]
    for encoding in encodings:
        write(f"layers-{encoding}.tmx", layer_map(encoding))
    write("objects.tmx", OBJECTS_TMX)
    write("class/class.tmx", CLASS_TMX)

    os.makedirs(CORPUS, exist_ok=True)
    for name in os.listdir(CORPUS):
        os.remove(os.path.join(CORPUS, name))
    seeds = {f"layers-{e}": fuzz_seed(layer_map(e), ("ink.tsx", INK_TSX)) for e in encodings}
    seeds["objects"] = fuzz_seed(OBJECTS_TMX, ("ink.tsx", INK_TSX), ("coin.tx", COIN_TX),
                                 ("wall.tx", WALL_TX))
    seeds["class"] = CLASS_TMX
    for name, text in seeds.items():
        with open(os.path.join(CORPUS, name + ".seed"), "w") as out:
            out.write(text)


if __name__ == "__main__":
    main()
