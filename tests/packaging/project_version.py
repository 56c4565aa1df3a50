"""The forms the project version is shown in, worked out here from the
PROJECT_VERSION that CMake passes to each test on its command line, so that a
test compares what the build made with its own reading of the one number."""


def numbers(project_version):
    """Major, minor, patch and tweak of "1.0.0.0"; missing parts are 0."""
    parts = [int(part) for part in project_version.split(".")]
    if not 1 <= len(parts) <= 4:
        raise ValueError(f"not a project version: {project_version!r}")
    return tuple(parts + [0] * (4 - len(parts)))


def display_version(project_version):
    """What the program and the Windows resource show: "1.00"."""
    major, minor, _, _ = numbers(project_version)
    return f"{major}.{minor:02d}"


def package_version(project_version):
    """The Debian package's and the manual page's version: "1.0.0"."""
    major, minor, patch, _ = numbers(project_version)
    return f"{major}.{minor}.{patch}"
