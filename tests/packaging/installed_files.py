"""What an installation of Galevane holds, relative to its prefix: one list
for the install test and the package test alike."""


def installed_files(app_id, icon_sizes, prefix=""):
    """The sorted paths of every installed file, each after `prefix`, for the
    application id and the icon sizes the build was configured with."""
    files = [
        "bin/galevane",
        f"share/applications/{app_id}.desktop",
        f"share/metainfo/{app_id}.metainfo.xml",
        f"share/icons/hicolor/scalable/apps/{app_id}.svg",
        "share/doc/galevane/copyright",
        "share/doc/galevane/changelog.gz",
        "share/man/man1/galevane.1.gz",
    ] + [f"share/icons/hicolor/{s}x{s}/apps/{app_id}.png" for s in icon_sizes]
    return sorted(prefix + path for path in files)
