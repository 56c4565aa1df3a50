"""What an installation of Galevane holds, relative to its prefix: one list
for the install test and the package test alike."""

APP_ID = "uk.co.quayforth.Galevane"
ICON_SIZES = (16, 32, 48, 64, 128, 256)


def installed_files(prefix=""):
    """The sorted paths of every installed file, each after `prefix`."""
    files = [
        "bin/galevane",
        f"share/applications/{APP_ID}.desktop",
        f"share/metainfo/{APP_ID}.metainfo.xml",
        f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
        "share/doc/galevane/copyright",
        "share/doc/galevane/changelog.gz",
        "share/man/man1/galevane.1.gz",
    ] + [f"share/icons/hicolor/{s}x{s}/apps/{APP_ID}.png" for s in ICON_SIZES]
    return sorted(prefix + path for path in files)
