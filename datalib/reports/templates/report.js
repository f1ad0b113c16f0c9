// Turns the series of a report into Chart.js charts. A serie is either a list of numbers
// ("[3, 2, 1]") or an object of day labels and one list of numbers per line
// ("{ labels: [ ... ], series: [ [ ... ] ] }"); either may be empty.
(function () {
    'use strict';

    var palette = ['#e4572e', '#2e86ab', '#f2a541', '#4fb286', '#8e6cc9',
                   '#e36f9c', '#3fb6c7', '#a4b83a', '#7c8798', '#c98a5b'];
    var charts = [];

    function colour(index) {
        return palette[index % palette.length];
    }

    function translucent(hex, alpha) {
        var n = parseInt(hex.slice(1), 16);
        return 'rgba(' + (n >> 16) + ', ' + ((n >> 8) & 255) + ', ' + (n & 255) + ', ' + alpha + ')';
    }

    function valuesOf(serie) {
        if (Array.isArray(serie))
            return serie;
        if (serie && Array.isArray(serie.series) && Array.isArray(serie.series[0]))
            return serie.series[0];
        return [];
    }

    function labelsOf(serie, count) {
        var labels = serie && Array.isArray(serie.labels) ? serie.labels.slice() : [];
        while (labels.length < count)
            labels.push('');
        return labels;
    }

    function sum(values) {
        return values.reduce(function (a, b) { return a + b; }, 0);
    }

    function box(canvasId) {
        var canvas = document.getElementById(canvasId);
        return canvas ? canvas.parentNode : null;
    }

    function markEmpty(canvasId, text) {
        var chart = box(canvasId);
        if (!chart)
            return;
        chart.setAttribute('data-empty', text);
        chart.parentNode.classList.add('is-empty');
    }

    function make(canvasId, config) {
        var canvas = document.getElementById(canvasId);
        if (!canvas || typeof Chart === 'undefined')
            return null;
        var chart = new Chart(canvas, config);
        charts.push(chart);
        return chart;
    }

    // The names in the task table, in the order of its bullets.
    function tableNames(tableId) {
        var table = document.getElementById(tableId);
        if (!table)
            return [];
        var names = [];
        table.querySelectorAll('tr').forEach(function (row) {
            if (row.classList.contains('total') || row.cells.length < 2)
                return;
            names.push(row.cells[1].textContent);
        });
        return names;
    }

    // Rows past the tenth share the palette's colours in turn, as the chart does.
    function colourBullets() {
        document.querySelectorAll('div[class^="bullet-"]').forEach(function (bullet) {
            var place = parseInt(bullet.className.slice(7), 10);
            if (place > 0)
                bullet.style.backgroundColor = colour(place - 1);
        });
    }

    var centreTotal = {
        id: 'centreTotal',
        afterDraw: function (chart) {
            var meta = chart.getDatasetMeta(0);
            if (!meta || !meta.data.length)
                return;
            var total = sum(chart.data.datasets[0].data);
            var arc = meta.data[0];
            var ctx = chart.ctx;
            ctx.save();
            ctx.textAlign = 'center';
            ctx.textBaseline = 'middle';
            ctx.fillStyle = '#1d2330';
            ctx.font = '600 28px Inter, sans-serif';
            ctx.fillText(String(total), arc.x, arc.y - 7);
            ctx.fillStyle = '#6b7385';
            ctx.font = '400 11px Inter, sans-serif';
            ctx.fillText(total === 1 ? 'task' : 'tasks', arc.x, arc.y + 16);
            ctx.restore();
        }
    };

    // Day labels sit side by side without overlapping: of the days that have a label, only
    // every so many keep it, however narrow the chart is.
    function thinnedLabels(labels) {
        var labelled = [];
        labels.forEach(function (label, i) {
            if (String(label).trim())
                labelled.push(i);
        });
        var widest = labelled.reduce(function (most, i) {
            return Math.max(most, String(labels[i]).length);
        }, 1);
        return function (value, index) {
            var room = Math.max(this.maxWidth || this.width || 0, 1);
            var every = Math.max(1, Math.ceil(labelled.length * (widest * 6 + 12) / room));
            var at = labelled.indexOf(index);
            return at >= 0 && at % every === 0 ? labels[index] : '';
        };
    }

    function axes(values, labels, compact) {
        var most = Math.max.apply(null, values.concat([1]));
        return {
            x: {
                grid: { display: false },
                ticks: {
                    autoSkip: false,
                    maxRotation: 0,
                    padding: compact ? 2 : 4,
                    font: { size: compact ? 9 : 10 },
                    callback: thinnedLabels(labels)
                }
            },
            y: {
                beginAtZero: true,
                suggestedMax: most < 4 ? 4 : undefined,
                grid: { color: '#eceef3', drawBorder: false },
                ticks: {
                    precision: 0,
                    font: { size: compact ? 9 : 10 },
                    maxTicksLimit: compact ? 3 : 5
                }
            }
        };
    }

    // A period's goal card reads "3 GOAL / ACHIEVED"; the number is set apart as the card's
    // figure, so it reads like the counters beside it.
    function shapeGoals() {
        document.querySelectorAll('.goal .ten.columns strong').forEach(function (heading) {
            var parts = /^\s*(\d+)\s+(\S.*)$/.exec(heading.textContent);
            if (!parts)
                return;
            var count = document.createElement('span');
            count.className = 'goal-count';
            count.textContent = parts[1];
            heading.textContent = parts[2];
            heading.parentNode.insertBefore(count, heading.nextSibling);
            heading.parentNode.classList.add('counted');
        });
    }

    // The app pictures the whole page by printing it on one sheet of the page's own size,
    // which it names with this style; that sheet keeps the screen layout, or the content
    // would not fill it.
    function followSheet() {
        var whole = !!document.getElementById('zestra-whole-sheet');
        document.documentElement.classList.toggle('whole-sheet', whole);
    }

    function resizeCharts() {
        charts.forEach(function (chart) { chart.resize(); });
    }

    if (typeof Chart !== 'undefined') {
        Chart.defaults.font.family = 'Inter, "Helvetica Neue", Arial, sans-serif';
        Chart.defaults.color = '#6b7385';
        Chart.defaults.animation = false;
        Chart.defaults.responsive = true;
        Chart.defaults.maintainAspectRatio = false;
        Chart.defaults.devicePixelRatio = Math.max(window.devicePixelRatio || 1, 2);
        Chart.defaults.plugins.legend.display = false;
    }

    window.Report = {
        // The share of each task, coloured like the table's bullets.
        tasks: function (canvasId, serie, tableId) {
            var values = valuesOf(serie);
            if (!values.length || sum(values) === 0) {
                markEmpty(canvasId, 'No tasks');
                return;
            }
            var names = tableNames(tableId);
            make(canvasId, {
                type: 'doughnut',
                data: {
                    labels: values.map(function (v, i) { return names[i] || ''; }),
                    datasets: [{
                        data: values,
                        backgroundColor: values.map(function (v, i) { return colour(i); }),
                        borderColor: '#ffffff',
                        borderWidth: 2,
                        hoverOffset: 4
                    }]
                },
                options: { cutout: '68%', layout: { padding: 6 } },
                plugins: [centreTotal]
            });
        },

        // Tasks per day: bars for a few weeks, a line for longer spans.
        perDay: function (canvasId, serie, colourIndex, compact) {
            var values = valuesOf(serie);
            if (!values.length) {
                markEmpty(canvasId, 'No days');
                return;
            }
            var colourOfLine = colour(colourIndex || 0);
            var labels = labelsOf(serie, values.length);
            var line = values.length > 62;
            make(canvasId, {
                type: line ? 'line' : 'bar',
                data: {
                    labels: labels,
                    datasets: [{
                        label: 'Tasks',
                        data: values,
                        backgroundColor: line ? translucent(colourOfLine, 0.15) : colourOfLine,
                        borderColor: colourOfLine,
                        borderWidth: line ? 1.5 : 0,
                        borderRadius: compact ? 3 : 5,
                        maxBarThickness: compact ? 14 : 28,
                        fill: line,
                        pointRadius: 0,
                        tension: 0.25
                    }]
                },
                options: {
                    scales: axes(values, labels, compact),
                    plugins: {
                        tooltip: {
                            callbacks: {
                                title: function (items) {
                                    var label = items.length ? items[0].label : '';
                                    return label.trim() ? label : '';
                                }
                            }
                        }
                    }
                }
            });
        },

        // One of the three most finished tasks: hidden when the period has fewer.
        top: function (cardId, canvasId, serie, place) {
            var card = document.getElementById(cardId);
            var label = card ? card.querySelector('.label') : null;
            if (!card || !label || !label.textContent.trim() || !valuesOf(serie).length) {
                if (card)
                    card.classList.add('vacant');
                return;
            }
            Report.perDay(canvasId, serie, place - 1, true);
        },

        // How many days of the serie have at least one task.
        activeDays: function (elementId, serie) {
            var element = document.getElementById(elementId);
            if (element)
                element.textContent = String(valuesOf(serie).filter(function (v) { return v > 0; }).length);
        },

        // Long tables of days show only the days with tasks.
        foldIdleDays: function (tableId, keepUpTo) {
            var table = document.getElementById(tableId);
            if (!table)
                return;
            var rows = Array.prototype.filter.call(table.querySelectorAll('tr'), function (row) {
                return !row.classList.contains('total') && row.cells.length > 2;
            });
            var idle = rows.filter(function (row) {
                return /^0\b/.test(row.cells[2].textContent.trim());
            });
            idle.forEach(function (row) { row.classList.add('idle'); });
            if (rows.length <= keepUpTo)
                return;
            idle.forEach(function (row) { row.style.display = 'none'; });
            var note = document.getElementById(tableId + '-note');
            if (note && idle.length)
                note.textContent = idle.length + (idle.length === 1 ? ' day' : ' days') +
                    ' without tasks are not listed.';
        }
    };

    colourBullets();
    shapeGoals();
    followSheet();
    if (typeof MutationObserver !== 'undefined')
        new MutationObserver(followSheet).observe(document.head || document.documentElement,
                                                  { childList: true });
    window.addEventListener('beforeprint', function () {
        followSheet();
        resizeCharts();
    });
    window.addEventListener('afterprint', resizeCharts);
})();
